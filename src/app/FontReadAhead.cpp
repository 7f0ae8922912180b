#include "FontReadAhead.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringList>

#ifdef ZELVO_WITH_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace zelvo {

FontReadAhead::FontReadAhead() : m_reading([this] { run(); }) {}

FontReadAhead::~FontReadAhead()
{
    wait();
}

void FontReadAhead::applicationStarted()
{
    const std::lock_guard guard(m_lock);
    if (m_step == Step::Configuration)
        m_step = Step::FontList;
    m_changed.notify_all();
}

void FontReadAhead::wait()
{
    {
        const std::lock_guard guard(m_lock);
        if (m_step == Step::Configuration)
            m_step = Step::Stop;
        m_changed.notify_all();
    }
    if (m_reading.joinable())
        m_reading.join();
}

void FontReadAhead::run()
{
#ifdef ZELVO_WITH_FONTCONFIG
    // Platform-specific: Qt finds fonts through fontconfig on X11 and Wayland. Parsing its
    // configuration files is the largest part of the first text's cost; FcInit is safe on any
    // thread, and Qt's own call later finds the configuration loaded.
    (void)FcInit();
#endif
    std::unique_lock guard(m_lock);
    m_changed.wait(guard, [this] { return m_step != Step::Configuration; });
    if (m_step == Step::Stop)
        return;
    guard.unlock();
    (void)QFontDatabase::families();
    // Finding the application's font settles which installed family stands in for its name
    // (often an alias such as "Sans Serif"); the database keeps the answer for every thread.
    (void)QFontMetrics(QGuiApplication::font()).height();
}

} // namespace zelvo
