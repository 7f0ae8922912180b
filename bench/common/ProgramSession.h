#pragma once

#include "BenchPlatform.h"
#include "app/MainWindow.h"
#include "app/WindowRegistry.h"
#include "settings/SettingsStore.h"
#include "support/IsolatedSettings.h"
#include "support/MainControls.h"
#include "tile/TileWindow.h"
#include "widgets/FileListBox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QTimer>

namespace zelvo::bench {

// The user's steps on the program's own windows, with the folder chooser answered in place of
// a person.
inline void chooseLargeTiles(const test::IsolatedSettings& settings)
{
    settings.put("Size", "Small", QStringLiteral("0"));
    settings.put("Size", "Mid", QStringLiteral("0"));
    settings.put("Size", "Big", QStringLiteral("1"));
}

inline void browseTo(MainWindow& main, BenchPlatform& platform, const QString& folder)
{
    platform.folder = folder;
    main.browseForFolder();
}

// Lets events in, the loading workers' answers among them, until the condition holds: checked
// as each event arrives, so that the time it took is measured to the event. False after 60 s.
template <class Condition> [[nodiscard]] bool waitFor(Condition&& done)
{
    QTimer wake;
    wake.start(20);
    const QDeadlineTimer deadline(60000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

inline void preview(MainWindow& main, const QString& fileName)
{
    ui(main).fileList->setFileName(fileName);
    main.fileClicked();
    (void)waitFor([&] { return !main.previewLoading(); });
}

// The tile window as a press on the preview shows it, without waiting for it to close, once it
// has loaded all it loads.
inline TileWindow& openTile(WindowRegistry& windows)
{
    TileWindow& tile = windows.get<TileWindow>();
    tile.show();
    tile.showPicture(windows.get<MainWindow>().picturePath());
    (void)waitFor([&] { return !tile.loading(); });
    return tile;
}

inline void closeTile(WindowRegistry& windows)
{
    windows.unload<TileWindow>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The program started with the Large tile window chosen, its list on the given folder.
struct LargeTileSession
{
    explicit LargeTileSession(const QString& folder) { browseTo(main, platform, folder); }

    test::IsolatedSettings settings;
    // Chosen before the store opens, as a user's earlier Apply would have.
    bool largeChosen = (chooseLargeTiles(settings), true);
    SettingsStore store;
    BenchPlatform platform;
    WindowRegistry windows{store, platform};
    MainWindow& main = (windows.start(), windows.get<MainWindow>());
};

} // namespace zelvo::bench
