#pragma once

#include <QPointer>

#include <tuple>

namespace zelvo {

class AboutBox;
class MainWindow;
class OptionsWindow;
class Platform;
class SettingsStore;
class TileWindow;

// Hands out the one instance of each window. A window referred to while it does not exist is
// created then, hidden, loaded, and told where to report to; unloading destroys it.
class WindowRegistry
{
public:
    WindowRegistry(SettingsStore& store, Platform& platform);
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    // Start-up: the per-user store is seeded, the main window loads, shows and activates.
    void start();

    template <class W> W& get();
    template <class W> [[nodiscard]] bool isLoaded() const;
    template <class W> void unload();

    [[nodiscard]] SettingsStore& store() const { return m_store; }
    [[nodiscard]] Platform& platform() const { return m_platform; }

private:
    template <class W> W* create();

    SettingsStore& m_store;
    Platform& m_platform;
    std::tuple<QPointer<MainWindow>, QPointer<TileWindow>, QPointer<OptionsWindow>,
               QPointer<AboutBox>>
        m_windows;
};

} // namespace zelvo
