#include "LoadControl.h"

#include "PictureBudget.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <time.h>
#endif

namespace zelvo {

namespace {

// Platform-specific: the processor time the calling thread has taken, in nanoseconds.
[[nodiscard]] qint64 threadWorkNs()
{
#ifdef Q_OS_WIN
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    const auto ticks = [](const FILETIME& time) {
        return (qint64(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) * 100;
#else
    timespec now{};
    if (::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0)
        return 0;
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
#endif
}

} // namespace

LoadGuard::LoadGuard(const LoadControl& control)
    : m_stop(control.stop), m_deadline(control.deadline),
      m_workEnd(threadWorkNs() + qint64(PictureWorkLimitMs) * 1000000)
{
}

bool LoadGuard::stopped() const
{
    if (m_stopped)
        return true;
    if (m_stop.stop_requested())
        m_stopped = m_cancelled = true;
    else if (m_deadline.hasExpired() || threadWorkNs() > m_workEnd)
        m_stopped = true;
    return m_stopped;
}

} // namespace zelvo
