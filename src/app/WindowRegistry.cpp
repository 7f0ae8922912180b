#include "WindowRegistry.h"

#include "MainWindow.h"
#include "about/AboutBox.h"
#include "settings/OptionsWindow.h"
#include "settings/SettingsStore.h"
#include "tile/TileWindow.h"
#include "tile/TileWorkbench.h"
#include "widgets/AccessibleControls.h"
#include "widgets/OnFirstShow.h"

#include <type_traits>

namespace zelvo {

WindowRegistry::WindowRegistry(SettingsStore& store, Platform& platform)
    : m_store(store), m_platform(platform)
{
    installAccessibleInterfaces();
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
    // A first start creates the settings file once the main window is on screen.
    afterFirstPaint(main, [this] { (void)m_store.commit(); });
}

// The other windows belong to the main window, whose load creates them, and report to it.
template <> MainWindow* WindowRegistry::create()
{
    return new MainWindow(*this);
}

template <> TileWindow* WindowRegistry::create()
{
    MainWindow& main = get<MainWindow>();
    auto* tile = new TileWindow(main, m_store, m_platform);
    QObject::connect(tile, &TileWindow::closeRequested, tile, [this] { unload<TileWindow>(); });
    QObject::connect(tile->workbench, &TileWorkbench::stepRequested, &main,
                     &MainWindow::stepTileWindow);
    return tile;
}

template <> OptionsWindow* WindowRegistry::create()
{
    MainWindow& main = get<MainWindow>();
    auto* options = new OptionsWindow(m_store, m_platform);
    QObject::connect(options, &OptionsWindow::applied, &main, &MainWindow::showAgainAfterOptions);
    return options;
}

template <> AboutBox* WindowRegistry::create()
{
    return new AboutBox(get<MainWindow>());
}

template <class W> W& WindowRegistry::get()
{
    if constexpr (!std::is_same_v<W, MainWindow>)
        (void)get<MainWindow>();
    auto& slot = std::get<QPointer<W>>(m_windows);
    if (!slot) {
        slot = create<W>();
        if constexpr (requires(W & window) { window.load(); })
            slot->load();
    }
    return *slot;
}

template <class W> bool WindowRegistry::isLoaded() const
{
    return !std::get<QPointer<W>>(m_windows).isNull();
}

template <class W> void WindowRegistry::unload()
{
    auto& slot = std::get<QPointer<W>>(m_windows);
    if (!slot)
        return;
    W* window = slot.data();
    slot.clear();
    window->hide();
    window->deleteLater();
}

template MainWindow& WindowRegistry::get<MainWindow>();
template TileWindow& WindowRegistry::get<TileWindow>();
template OptionsWindow& WindowRegistry::get<OptionsWindow>();
template AboutBox& WindowRegistry::get<AboutBox>();
template bool WindowRegistry::isLoaded<MainWindow>() const;
template bool WindowRegistry::isLoaded<TileWindow>() const;
template bool WindowRegistry::isLoaded<OptionsWindow>() const;
template bool WindowRegistry::isLoaded<AboutBox>() const;
template void WindowRegistry::unload<TileWindow>();
template void WindowRegistry::unload<OptionsWindow>();
template void WindowRegistry::unload<AboutBox>();

} // namespace zelvo
