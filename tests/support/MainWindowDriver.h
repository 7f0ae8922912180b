#pragma once

#include "IsolatedSettings.h"
#include "MainControls.h"
#include "Pictures.h"
#include "TestPlatform.h"
#include "about/AboutBox.h"
#include "app/MainWindow.h"
#include "app/WindowRegistry.h"
#include "settings/OptionsWindow.h"
#include "settings/SettingsStore.h"
#include "tile/TileWindow.h"
#include "tile/TilingImage.h"
#include "widgets/FileListBox.h"
#include "widgets/PictureBox.h"

#include <QEvent>
#include <QMap>
#include <QObject>
#include <QPushButton>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace zelvo::test {

// One run of the program with its own settings store and a stand-in desktop. Put settings in
// through `iso` before `windows.start()` to have them read at start-up.
struct Session
{
    IsolatedSettings iso;
    SettingsStore store;
    TestPlatform platform;
    WindowRegistry windows{store, platform};

    // Starts as a user finds the program: shown and, on a first start, with the settings file
    // written, as the main window's first paint has it done.
    void startShown()
    {
        windows.start();
        (void)store.commit();
    }
    MainWindow& main() { return windows.get<MainWindow>(); }
};

// Takes a key out of the store, as a hand edit would.
inline void removeStored(const IsolatedSettings& iso, const char* section, const char* key)
{
    QSettings raw(iso.fileName(), QSettings::IniFormat);
    raw.remove(QLatin1String(section) + QLatin1Char('/') + QLatin1String(key));
}

[[nodiscard]] inline QStringList listedNames(const FileListBox& list)
{
    QStringList names;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        names.append(list.model()->index(row, 0).data().toString());
    return names;
}

// Waits until the preview has the picture it was asked for, or has given up on it.
inline void waitForPreview(const MainWindow& main)
{
    (void)QTest::qWaitFor([&] { return !main.previewLoading(); }, 10000);
}

// Clicks the selected name, as the list does, and waits for the preview.
inline void clickSelected(MainWindow& main)
{
    main.fileClicked();
    waitForPreview(main);
}

// Waits until the tile window has its picture, or has closed.
inline void waitForTile(WindowRegistry& windows)
{
    (void)QTest::qWaitFor(
        [&] { return !windows.isLoaded<TileWindow>() || !windows.get<TileWindow>().loading(); },
        10000);
}

// Clicks a listed name with the mouse and waits for the preview; false when the name is not
// listed.
[[nodiscard]] inline bool clickFile(FileListBox& list, const QString& name)
{
    const int row = int(listedNames(list).indexOf(name));
    if (row < 0)
        return false;
    const QModelIndex index = list.model()->index(row, 0);
    list.doItemsLayout();
    list.scrollTo(index);
    const QRect place = list.visualRect(index);
    if (!place.isValid())
        return false;
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place.center());
    if (const auto* main = qobject_cast<const MainWindow*>(list.window()))
        waitForPreview(*main);
    return true;
}

// A click on the browse button, the chooser answering with the folder.
inline void browseTo(Session& session, const QString& folder)
{
    session.platform.folderAnswers.emplace_back(folder);
    QTest::mouseClick(ui(session.main()).browseButton, Qt::LeftButton);
}

// A click on the browse button, the chooser cancelled.
inline void cancelBrowse(Session& session)
{
    session.platform.folderAnswers.emplace_back(std::nullopt);
    QTest::mouseClick(ui(session.main()).browseButton, Qt::LeftButton);
}

// A folder holding a picture beside other files, that a started session has browsed to and
// in which it has clicked the picture, or the file named by click.
struct PictureChosen
{
    QTemporaryDir dir;
    bool ready = false;

    PictureChosen(Session& session, const QString& name, const QImage& picture, const char* format,
                  const QMap<QString, QByteArray>& otherFiles = {}, const QString& click = {})
    {
        ready = dir.isValid() && writePicture(dir.path(), name, picture, format);
        for (auto file = otherFiles.begin(); file != otherFiles.end(); ++file)
            ready = ready && writeFile(dir.path(), file.key(), file.value());
        if (!ready)
            return;
        browseTo(session, dir.path());
        ready = clickFile(*ui(session.main()).fileList, click.isEmpty() ? name : click);
    }
};

// The red bitmap "a.bmp" chosen, beside empty files of the other names.
struct RedBitmapChosen : PictureChosen
{
    explicit RedBitmapChosen(Session& session, const QStringList& emptyFiles = {})
        : PictureChosen(session, QStringLiteral("a.bmp"), solidPicture({8, 8}, Qt::red), "BMP",
                        emptyNamed(emptyFiles))
    {
    }

private:
    static QMap<QString, QByteArray> emptyNamed(const QStringList& names)
    {
        QMap<QString, QByteArray> files;
        for (const QString& name : names)
            files.insert(name, {});
        return files;
    }
};

// One of the program's windows by its name.
[[nodiscard]] inline QWidget& windowNamed(WindowRegistry& windows, const QString& name)
{
    if (name == QLatin1String("Form2"))
        return windows.get<TileWindow>();
    if (name == QLatin1String("Form3"))
        return windows.get<OptionsWindow>();
    if (name == QLatin1String("About"))
        return windows.get<AboutBox>();
    return windows.get<MainWindow>();
}

// Presses the preview. Once the tile window shows its picture, whileShown runs on it; then a
// left press on its picture closes it. Returns whether the tile window was reached shown.
inline bool pressPreview(Session& session, Qt::MouseButton button,
                         const std::function<void(TileWindow&)>& whileShown = {},
                         Qt::KeyboardModifiers modifiers = {})
{
    bool reached = false;
    QObject context;
    QTimer::singleShot(0, &context, [&] {
        waitForTile(session.windows);
        if (!session.windows.isLoaded<TileWindow>() ||
            !session.windows.get<TileWindow>().isVisible())
            return;
        reached = true;
        TileWindow& tile = session.windows.get<TileWindow>();
        if (whileShown)
            whileShown(tile);
        if (session.windows.isLoaded<TileWindow>() && tile.isVisible())
            QTest::mouseClick(tile.tiledView, Qt::LeftButton);
        // Should the press have failed to close it, the test goes on to fail on its checks.
        if (session.windows.isLoaded<TileWindow>() && session.windows.get<TileWindow>().isVisible())
            session.windows.unload<TileWindow>();
    });
    QTest::mouseClick(ui(session.main()).preview, button, modifiers);
    return reached;
}

// Counts how often a window was shown.
class ShowCounter : public QObject
{
public:
    explicit ShowCounter(QWidget& window) { window.installEventFilter(this); }

    int shows = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace zelvo::test
