#include "LoadControl.h"

#include "PictureBudget.h"

#include <algorithm>

namespace zelvo {

LoadGuard::LoadGuard(const LoadControl& control)
    : m_stop(control.stop),
      m_deadline(std::min(control.deadline, QDeadlineTimer(PictureLoadDeadlineMs)))
{
}

bool LoadGuard::stopped() const
{
    if (m_stopped)
        return true;
    if (m_stop.stop_requested())
        m_stopped = m_cancelled = true;
    else if (m_deadline.hasExpired())
        m_stopped = true;
    return m_stopped;
}

} // namespace zelvo
