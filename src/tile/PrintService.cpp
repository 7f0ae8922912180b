#include "PrintService.h"

#ifdef ZELVO_WITH_CUPS

#include <QByteArray>

#include <cups/cups.h>

#include <cstdlib>
#include <cstring>

namespace zelvo {

bool queueTakesJobs(const QString& queue)
{
    // Qt names an instance of a queue "queue/instance".
    const qsizetype slash = queue.indexOf(QLatin1Char('/'));
    const QByteArray name = queue.left(slash).toLocal8Bit();
    const QByteArray instance = slash < 0 ? QByteArray() : queue.mid(slash + 1).toLocal8Bit();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return false;
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
    const bool takes = (!accepting || std::strcmp(accepting, "true") == 0) &&
                       (!state || std::atoi(state) != IPP_PSTATE_STOPPED);
    cupsFreeDests(1, dest);
    return takes;
}

bool lastJobTaken()
{
    // Qt's print engine and this program share the one CUPS library, whose last status is kept
    // per thread: after the painter ends it is the answer to Qt's job submission.
    return cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

} // namespace zelvo

#else

namespace zelvo {

bool queueTakesJobs(const QString&)
{
    return true;
}

bool lastJobTaken()
{
    return true;
}

} // namespace zelvo

#endif
