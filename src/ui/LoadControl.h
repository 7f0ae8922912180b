#pragma once

#include <QDeadlineTimer>

#include <stop_token>

namespace zelvo {

// What the caller of a load can do to end it early: ask it to stop (from any thread), and give it
// a deadline of its own. Every load also ends by PictureLoadDeadlineMs, whatever is given here.
struct LoadControl
{
    std::stop_token stop{};
    QDeadlineTimer deadline{QDeadlineTimer::Forever};
};

// The checks a load makes between steps of its work: whether it is to end now. Once it has said
// so it keeps saying so. Used by the loading thread only.
class LoadGuard
{
public:
    // The load begins now: its deadline is the earlier of the control's and the loader's own.
    explicit LoadGuard(const LoadControl& control);

    [[nodiscard]] bool stopped() const;
    // Whether it ended because a stop was asked for, rather than by its deadline.
    [[nodiscard]] bool cancelled() const { return m_cancelled; }

private:
    std::stop_token m_stop;
    QDeadlineTimer m_deadline;
    mutable bool m_stopped = false;
    mutable bool m_cancelled = false;
};

} // namespace zelvo
