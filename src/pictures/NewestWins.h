#pragma once

#include <QtGlobal>

#include <optional>

namespace zelvo {

// The bookkeeping of the loads one view asks for: at most one runs, the newest request waits
// behind it in place of any older one, and only the result of the newest request is shown.
// Requests are numbered from 1 in the order they are made.
class NewestWins
{
public:
    struct Wanted
    {
        quint64 ticket = 0;
        // Nothing runs: it starts now. Otherwise the running load is to be stopped, and this
        // request starts once it has returned.
        bool startNow = false;
    };
    [[nodiscard]] Wanted want();

    struct Ended
    {
        // The load that returned was the newest request: its result is to be shown.
        bool show = false;
        // The request to start now, if one waited.
        std::optional<quint64> start;
    };
    // The running load returned.
    [[nodiscard]] Ended ended();

    // Nothing more is wanted: the running load's result is not shown, and nothing starts after.
    void drop();

    [[nodiscard]] bool running() const { return m_running.has_value(); }
    // A request has been made and not yet answered or dropped.
    [[nodiscard]] bool awaited() const { return m_awaited; }

private:
    quint64 m_newest = 0;
    std::optional<quint64> m_running;
    std::optional<quint64> m_waiting;
    bool m_awaited = false;
};

} // namespace zelvo
