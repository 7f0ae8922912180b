#pragma once

#include <QString>

#include <chrono>

namespace zelvo {

// What Qt's printing leaves unsaid about the system's print service (CUPS on Linux). Where the
// program is built without it, every answer is yes and Qt's own checks are all there is.

// Whether the service answers a request within the time given. Qt asks it without a bound of
// its own: a server that takes the connection and stays silent holds each question for a
// minute. The request is sent from a thread of its own, and the program's events are handled
// while the answer is awaited, so windows may close meanwhile.
[[nodiscard]] bool serviceAnswers(std::chrono::milliseconds timeout);

// Whether the queue takes new jobs: a queue set to reject them still reports itself idle to Qt.
[[nodiscard]] bool queueTakesJobs(const QString& queue);

// Whether the service took the last job handed to it from this thread. Qt submits the page when
// its painter ends and drops the service's answer.
[[nodiscard]] bool lastJobTaken();

} // namespace zelvo
