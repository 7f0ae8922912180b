#pragma once

#include <QString>

#include <atomic>
#include <thread>

namespace zelvo::bench {

// Pings a window of the program over the X server, as window managers do (_NET_WM_PING), from a
// connection and a thread of its own, one ping as soon as the last is answered. The program
// answers on the thread that runs its windows, so the longest wait for an answer is the longest
// time its windows did not answer.
class WindowPing
{
public:
    WindowPing(const QString& display, unsigned long window);
    ~WindowPing();
    WindowPing(const WindowPing&) = delete;
    WindowPing& operator=(const WindowPing&) = delete;

    // Whether pings could be sent.
    [[nodiscard]] bool running() const { return m_running; }
    // The longest wait for an answer since the start or the last reset, in milliseconds; a ping
    // still unanswered counts until now.
    [[nodiscard]] int longestWaitMs() const;
    void reset();

private:
    void run(const QByteArray& display, unsigned long window);

    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stop{false};
    std::atomic<long long> m_longestNs{0};
    std::atomic<long long> m_waitingSinceNs{0}; // 0: nothing unanswered
    std::thread m_thread;
};

} // namespace zelvo::bench
