#include "WindowRegistry.h"

#include "TrayMenu.h"
#include "layouts/OnFirstShow.h"
#include "settings/SettingsStore.h"
#include "tile/TileWorkbench.h"
#include "widgets/AccessibleControls.h"
#include "widgets/FocusMark.h"

namespace zelvo {

WindowRegistry::WindowRegistry(SettingsStore& store, Platform& platform)
    : m_store(store), m_platform(platform)
{
    installAccessibleInterfaces();
    installFocusMarks();
}

WindowRegistry::~WindowRegistry()
{
    delete std::get<QPointer<AboutBox>>(m_windows).data();
    delete std::get<QPointer<OptionsWindow>>(m_windows).data();
    delete std::get<QPointer<TileWindow>>(m_windows).data();
    delete std::get<QPointer<MainWindow>>(m_windows).data();
}

void WindowRegistry::start()
{
    m_store.seedInitialTypes();
    MainWindow& main = get<MainWindow>();
    main.returnToMain(MainWindow::Return::Shown);
    // Once the main window is on screen, a first start creates the settings file, and the tray
    // icon gets its menu and looks up its pictures in the desktop's icon theme.
    afterFirstPaint(main, [this, &main] {
        (void)m_store.commit();
        main.showTrayIcon(new TrayMenu(*this, main));
    });
}

// The other windows report to the main window.
template <> MainWindow* WindowRegistry::create()
{
    return new MainWindow(*this);
}

template <> TileWindow* WindowRegistry::create()
{
    MainWindow& main = get<MainWindow>();
    auto* tile = new TileWindow(main, m_store, m_platform, m_pictureDocuments, m_pictureWorkers);
    QObject::connect(tile, &TileWindow::closeRequested, tile, [this] { unload<TileWindow>(); });
    // A key steps through the current file's names; the tile window shows the file stepped to.
    QObject::connect(tile->workbench, &TileWorkbench::stepRequested, &m_currentFile,
                     [this](Step step) { (void)m_currentFile.step(step); });
    QObject::connect(&m_currentFile, &CurrentFile::selected, tile,
                     [tile](const QString& path, CurrentFile::Change how) {
                         if (how == CurrentFile::Change::Stepped)
                             tile->stepTo(path);
                     });
    QObject::connect(tile, &TileWindow::stepFailed, &m_currentFile,
                     [this, tile](const QString& shownPath) {
                         if (tile->isVisible())
                             m_currentFile.stepFailed(shownPath);
                     });
    return tile;
}

template <> OptionsWindow* WindowRegistry::create()
{
    MainWindow& main = get<MainWindow>();
    auto* options = new OptionsWindow(m_store, m_platform);
    QObject::connect(options, &OptionsWindow::applied, &main, &MainWindow::showAgainAfterOptions);
    QObject::connect(options, &OptionsWindow::abandoned, &main, &MainWindow::leaveOptions);
    return options;
}

template <> AboutBox* WindowRegistry::create()
{
    return new AboutBox(get<MainWindow>());
}

} // namespace zelvo
