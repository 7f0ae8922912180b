#include "Windows.h"

#include "Form1.h"
#include "about/About.h"
#include "settings/Form3.h"
#include "settings/SettingsStore.h"
#include "tile/Form2.h"
#include "widgets/AccessibleControls.h"
#include "widgets/OnFirstShow.h"

#include <type_traits>

namespace zelvo {

Windows::Windows(SettingsStore& store, Platform& platform) : m_store(store), m_platform(platform)
{
    installAccessibleInterfaces();
}

Windows::~Windows()
{
    delete std::get<QPointer<About>>(m_windows).data();
    delete std::get<QPointer<Form3>>(m_windows).data();
    delete std::get<QPointer<Form2>>(m_windows).data();
    delete std::get<QPointer<Form1>>(m_windows).data();
}

void Windows::start()
{
    m_store.seedInitialTypes();
    Form1& main = get<Form1>();
    main.returnToMain(Form1::Return::Shown);
    // A first start creates the settings file once the main window is on screen.
    afterFirstPaint(main, [this] { (void)m_store.commit(); });
}

template <class W> W& Windows::get()
{
    if constexpr (!std::is_same_v<W, Form1>) {
        // The other windows belong to the main window, whose load creates them.
        (void)get<Form1>();
    }
    auto& slot = std::get<QPointer<W>>(m_windows);
    if (!slot) {
        if constexpr (std::is_same_v<W, Form1>)
            slot = new W(*this);
        else if constexpr (std::is_same_v<W, About>)
            slot = new W(get<Form1>());
        else
            slot = new W(get<Form1>(), m_store, m_platform);
        slot->Form_Load();
    }
    return *slot;
}

template <class W> bool Windows::isLoaded() const
{
    return !std::get<QPointer<W>>(m_windows).isNull();
}

template <class W> void Windows::unload()
{
    auto& slot = std::get<QPointer<W>>(m_windows);
    if (!slot)
        return;
    W* window = slot.data();
    slot.clear();
    window->hide();
    window->deleteLater();
}

template Form1& Windows::get<Form1>();
template Form2& Windows::get<Form2>();
template Form3& Windows::get<Form3>();
template About& Windows::get<About>();
template bool Windows::isLoaded<Form1>() const;
template bool Windows::isLoaded<Form2>() const;
template bool Windows::isLoaded<Form3>() const;
template bool Windows::isLoaded<About>() const;
template void Windows::unload<Form2>();
template void Windows::unload<Form3>();
template void Windows::unload<About>();

} // namespace zelvo
