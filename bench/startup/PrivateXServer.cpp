#include "PrivateXServer.h"

#include <csignal>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelvo::bench {

PrivateXServer::PrivateXServer()
{
    // Xvfb picks a free display number and writes it to the descriptor it is given.
    int numberPipe[2];
    if (::pipe(numberPipe) != 0)
        return;
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(numberPipe[0]);
        // Xvfb reports every display number it finds taken on the way; a failure shows as
        // no number written.
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (quiet >= 0)
            ::dup2(quiet, STDERR_FILENO);
        const std::string fd = std::to_string(numberPipe[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                 "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        std::perror("Xvfb");
        ::_exit(127);
    }
    ::close(numberPipe[1]);
    std::string number;
    pollfd wait{numberPipe[0], POLLIN, 0};
    while (m_pid > 0 && ::poll(&wait, 1, 10000) > 0) {
        char chunk[16];
        const ssize_t got = ::read(numberPipe[0], chunk, sizeof chunk);
        if (got <= 0)
            break;
        number.append(chunk, std::size_t(got));
        if (number.find('\n') != std::string::npos)
            break;
    }
    ::close(numberPipe[0]);
    const QString digits = QString::fromStdString(number).trimmed();
    if (!digits.isEmpty())
        m_display = QLatin1Char(':') + digits;
}

PrivateXServer::~PrivateXServer()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    ::waitpid(m_pid, nullptr, 0);
}

} // namespace zelvo::bench
