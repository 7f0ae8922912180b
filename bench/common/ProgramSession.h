#pragma once

#include "BenchPlatform.h"
#include "app/Form1.h"
#include "app/Windows.h"
#include "settings/SettingsStore.h"
#include "support/IsolatedSettings.h"
#include "tile/Form2.h"
#include "widgets/FileListBox.h"

#include <QCoreApplication>
#include <QEvent>

namespace zelvo::bench {

// The user's steps on the program's own windows, with the folder chooser answered in place of
// a person.
inline void chooseLargeTiles(const test::IsolatedSettings& settings)
{
    settings.put("Size", "Small", QStringLiteral("0"));
    settings.put("Size", "Mid", QStringLiteral("0"));
    settings.put("Size", "Big", QStringLiteral("1"));
}

inline void browseTo(Form1& main, BenchPlatform& platform, const QString& folder)
{
    platform.folder = folder;
    main.Opendir_Click();
}

inline void preview(Form1& main, const QString& fileName)
{
    main.Files->setFileName(fileName);
    main.Files_Click();
    QCoreApplication::processEvents();
}

// The tile window as a press on the preview shows it, without waiting for it to close.
inline Form2& openTile(Windows& windows)
{
    Form2& tile = windows.get<Form2>();
    tile.show();
    tile.Form_Activate();
    QCoreApplication::processEvents();
    return tile;
}

inline void closeTile(Windows& windows)
{
    windows.unload<Form2>();
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
    Windows windows{store, platform};
    Form1& main = (windows.start(), windows.get<Form1>());
};

} // namespace zelvo::bench
