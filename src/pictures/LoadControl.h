#pragma once

#include <QDeadlineTimer>

#include <stop_token>

namespace zelvo {

// What the caller of a load can do to end it early: ask it to stop (from any thread), and give it
// a deadline on the clock; and whether the load waits for a file still being written. Every load
// also ends once it has done PictureWorkLimitMs of work beyond what its picture justifies, whatever
// is given here.
struct LoadControl
{
    std::stop_token stop{};
    QDeadlineTimer deadline{QDeadlineTimer::Forever};
    // Read the file only once it has stood still: see openStillFile.
    bool awaitStillFile = false;
};

// The checks a load makes between steps of its work: whether it is to end now. Once it has said
// so it keeps saying so. Made and used by the loading thread only, whose work it measures.
class LoadGuard
{
public:
    // The load begins now.
    explicit LoadGuard(const LoadControl& control);

    [[nodiscard]] bool stopped() const;
    // The load may work that much longer: what the picture it found justifies, given as its
    // decoder learns it.
    void allowMoreWork(qint64 ns) const { m_workEnd += ns; }
    // Whether it ended because a stop was asked for, rather than by its deadline.
    [[nodiscard]] bool cancelled() const { return m_cancelled; }

private:
    std::stop_token m_stop;
    QDeadlineTimer m_deadline;
    // The thread's processor time, in nanoseconds, at which the load has done all it may; moved
    // on by the decoders, which see the guard as their caller's const check.
    mutable qint64 m_workEnd;
    mutable bool m_stopped = false;
    mutable bool m_cancelled = false;
};

} // namespace zelvo
