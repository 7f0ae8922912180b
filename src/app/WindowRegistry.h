#pragma once

#include "MainWindow.h"
#include "about/AboutBox.h"
#include "core/CurrentFile.h"
#include "pictures/PictureDocuments.h"
#include "pictures/PictureWorkers.h"
#include "settings/OptionsWindow.h"
#include "tile/TileWindow.h"

#include <QPointer>

#include <tuple>
#include <type_traits>

namespace zelvo {

class Platform;
class SettingsStore;

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

    template <class W> W& get()
    {
        // The other windows belong to the main window, whose load creates them.
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

    template <class W> [[nodiscard]] bool isLoaded() const
    {
        return !std::get<QPointer<W>>(m_windows).isNull();
    }

    template <class W> void unload()
    {
        auto& slot = std::get<QPointer<W>>(m_windows);
        if (!slot)
            return;
        W* window = slot.data();
        slot.clear();
        window->hide();
        window->deleteLater();
    }

    [[nodiscard]] SettingsStore& store() const { return m_store; }
    [[nodiscard]] Platform& platform() const { return m_platform; }
    // The threads that load the windows' pictures.
    [[nodiscard]] PictureWorkers& pictureWorkers() { return m_pictureWorkers; }
    // The pictures the windows show, each loaded once for all of them.
    [[nodiscard]] PictureDocuments& pictureDocuments() { return m_pictureDocuments; }
    // The folder listed and the file on show, which every window follows.
    [[nodiscard]] CurrentFile& currentFile() { return m_currentFile; }

private:
    template <class W> W* create();

    SettingsStore& m_store;
    Platform& m_platform;
    // Outlives the windows: stopped loads end here, or are left to end with the process.
    // One for the preview and one for the tile window, each of which loads one picture at a time,
    // and one for the repeat the tile window saves or sets as the desktop's background.
    PictureWorkers m_pictureWorkers{3};
    PictureDocuments m_pictureDocuments{m_pictureWorkers};
    CurrentFile m_currentFile;
    std::tuple<QPointer<MainWindow>, QPointer<TileWindow>, QPointer<OptionsWindow>,
               QPointer<AboutBox>>
        m_windows;
};

template <> MainWindow* WindowRegistry::create();
template <> TileWindow* WindowRegistry::create();
template <> OptionsWindow* WindowRegistry::create();
template <> AboutBox* WindowRegistry::create();

} // namespace zelvo
