#pragma once

#include <QPointer>

#include <tuple>

namespace zelvo {

class About;
class Form1;
class Form2;
class Form3;
class Platform;
class SettingsStore;

// Hands out the one instance of each window. A window referred to while it does not exist is
// created then, hidden, and its load handler runs; unloading destroys it.
class Windows
{
public:
    Windows(SettingsStore& store, Platform& platform);
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // Start-up: the per-user store is seeded, the main window loads, shows and activates.
    void start();

    template <class W> W& get();
    template <class W> [[nodiscard]] bool isLoaded() const;
    template <class W> void unload();

    [[nodiscard]] SettingsStore& store() const { return m_store; }
    [[nodiscard]] Platform& platform() const { return m_platform; }

private:
    SettingsStore& m_store;
    Platform& m_platform;
    std::tuple<QPointer<Form1>, QPointer<Form2>, QPointer<Form3>, QPointer<About>> m_windows;
};

} // namespace zelvo
