#include "NewestWins.h"

namespace zelvo {

NewestWins::Wanted NewestWins::want()
{
    const quint64 ticket = ++m_newest;
    m_awaited = true;
    if (m_running) {
        m_waiting = ticket;
        return {ticket, false};
    }
    m_running = ticket;
    return {ticket, true};
}

NewestWins::Ended NewestWins::ended()
{
    if (!m_running)
        return {};
    const bool show = m_awaited && *m_running == m_newest;
    m_running = m_waiting;
    m_waiting.reset();
    if (show)
        m_awaited = false;
    return {show, m_running};
}

void NewestWins::drop()
{
    m_waiting.reset();
    m_awaited = false;
}

} // namespace zelvo
