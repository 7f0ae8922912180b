#include "PrintService.h"

#ifdef ZELVO_WITH_CUPS

#include <QByteArray>
#include <QLibrary>

#include <cups/cups.h>

#include <cstdlib>
#include <cstring>

namespace zelvo {

namespace {

// The CUPS library is opened on the first question, not linked: linked, it and the dozen
// libraries it needs would be loaded and relocated at every start of the program, which prints
// rarely. Qt's own print plugin opens the same library, so both share its state.
struct Cups
{
    decltype(&cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&cupsGetOption) getOption = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    decltype(&cupsLastError) lastError = nullptr;

    [[nodiscard]] bool usable() const
    {
        return getNamedDest && getOption && freeDests && lastError;
    }
};

const Cups& cups()
{
    static const Cups library = [] {
        QLibrary file(QStringLiteral("cups"), 2);
        Cups found;
        if (!file.load())
            return found;
        found.getNamedDest =
            reinterpret_cast<decltype(&cupsGetNamedDest)>(file.resolve("cupsGetNamedDest"));
        found.getOption = reinterpret_cast<decltype(&cupsGetOption)>(file.resolve("cupsGetOption"));
        found.freeDests = reinterpret_cast<decltype(&cupsFreeDests)>(file.resolve("cupsFreeDests"));
        found.lastError = reinterpret_cast<decltype(&cupsLastError)>(file.resolve("cupsLastError"));
        return found;
    }();
    return library;
}

} // namespace

bool queueTakesJobs(const QString& queue)
{
    const Cups& service = cups();
    // Without the library Qt's own print plugin has no queues either; its checks decide.
    if (!service.usable())
        return true;
    // Qt names an instance of a queue "queue/instance".
    const qsizetype slash = queue.indexOf(QLatin1Char('/'));
    const QByteArray name = queue.left(slash).toLocal8Bit();
    const QByteArray instance = slash < 0 ? QByteArray() : queue.mid(slash + 1).toLocal8Bit();
    cups_dest_t* dest = service.getNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                             instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return false;
    const char* accepting =
        service.getOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const char* state = service.getOption("printer-state", dest->num_options, dest->options);
    const bool takes = (!accepting || std::strcmp(accepting, "true") == 0) &&
                       (!state || std::atoi(state) != IPP_PSTATE_STOPPED);
    service.freeDests(1, dest);
    return takes;
}

bool lastJobTaken()
{
    const Cups& service = cups();
    if (!service.usable())
        return true;
    // Qt's print engine and this program share the one CUPS library, whose last status is kept
    // per thread: after the painter ends it is the answer to Qt's job submission.
    return service.lastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
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
