#pragma once

#include <QString>

#include <sys/types.h>

namespace zelvo::bench {

// An Xvfb server of our own for the length of a run, so that nothing else draws on it.
class PrivateXServer
{
public:
    PrivateXServer();
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    [[nodiscard]] bool running() const { return m_pid > 0 && !m_display.isEmpty(); }
    // ":N", for DISPLAY.
    [[nodiscard]] QString display() const { return m_display; }

private:
    pid_t m_pid = -1;
    QString m_display;
};

} // namespace zelvo::bench
