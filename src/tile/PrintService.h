#pragma once

#include <QString>

namespace zelvo {

// What Qt's printing leaves unsaid about the system's print service (CUPS on Linux). Where the
// program is built without it, both answers are yes and Qt's own checks are all there is.

// Whether the queue takes new jobs: a queue set to reject them still reports itself idle to Qt.
[[nodiscard]] bool queueTakesJobs(const QString& queue);

// Whether the service took the last job handed to it from this thread. Qt submits the page when
// its painter ends and drops the service's answer.
[[nodiscard]] bool lastJobTaken();

} // namespace zelvo
