#include "PrintService.h"

#ifdef ZELVO_WITH_CUPS

#include <QByteArray>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLibrary>
#include <QTimer>

#include <cups/cups.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace zelvo {

namespace {

// The CUPS library is opened on the first question, not linked: linked, it and the dozen
// libraries it needs would be loaded and relocated at every start of the program, which prints
// rarely. Qt's own print plugin opens the same library, so both share its state.
struct Cups
{
    // An entry point found by its name, typed by the declaration it is assigned to.
    class Entry
    {
    public:
        explicit Entry(QFunctionPointer address) : m_address(address) {}
        template <class Function> operator Function() const
        {
            return reinterpret_cast<Function>(m_address);
        }

    private:
        QFunctionPointer m_address;
    };

    QLibrary file{QStringLiteral("cups"), 2};
    bool loaded = file.load();
    // Whether the library and every entry point were found.
    bool usable = true;
    // What the program asks about the default queue and the last job.
    decltype(&cupsGetNamedDest) getNamedDest = find("cupsGetNamedDest");
    decltype(&cupsGetOption) getOption = find("cupsGetOption");
    decltype(&cupsFreeDests) freeDests = find("cupsFreeDests");
    decltype(&cupsLastError) lastError = find("cupsLastError");

    [[nodiscard]] Entry find(const char* name)
    {
        const QFunctionPointer address = loaded ? file.resolve(name) : nullptr;
        usable = usable && address;
        return Entry(address);
    }

    // What asking the service whether it is there takes, on a thread of its own.
    decltype(&cupsServer) server = find("cupsServer");
    decltype(&ippPort) port = find("ippPort");
    decltype(&cupsEncryption) encryption = find("cupsEncryption");
    decltype(&httpConnect2) connect = find("httpConnect2");
    decltype(&httpSetTimeout) setTimeout = find("httpSetTimeout");
    decltype(&httpClose) close = find("httpClose");
    decltype(&ippNewRequest) newRequest = find("ippNewRequest");
    decltype(&cupsDoRequest) doRequest = find("cupsDoRequest");
    decltype(&ippDelete) deleteMessage = find("ippDelete");
};

const Cups& cups()
{
    static const Cups library;
    return library;
}

struct Question
{
    std::atomic<bool> done = false;
    std::atomic<bool> answered = false;
};

// Asks the service for its default queue, on a connection of its own that gives up at the
// deadline; any answer, "none" included, shows the service is there.
void ask(const Cups& service, Question& question, QDeadlineTimer deadline)
{
    const int connectMs = int(std::max<qint64>(1, deadline.remainingTime()));
    http_t* http = service.connect(service.server(), service.port(), nullptr, AF_UNSPEC,
                                   service.encryption(), 1, connectMs, nullptr);
    if (http) {
        // Every quarter of a second without an answer asks whether to wait on.
        service.setTimeout(
            http, 0.25,
            [](http_t*, void* data) {
                return static_cast<const QDeadlineTimer*>(data)->hasExpired() ? 0 : 1;
            },
            &deadline);
        ipp_t* response = service.doRequest(http, service.newRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
        question.answered = response != nullptr;
        service.deleteMessage(response);
        service.close(http);
    }
    question.done = true;
}

} // namespace

bool serviceAnswers(std::chrono::milliseconds timeout)
{
    const Cups& service = cups();
    if (!service.usable)
        return true;
    const QDeadlineTimer deadline(timeout);
    // The thread keeps its own share of the question: a name lookup may hold it past the
    // deadline, and the answer is then not awaited.
    auto question = std::make_shared<Question>();
    std::thread([&service, question, deadline] { ask(service, *question, deadline); }).detach();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (question->done || deadline.hasExpired())
            loop.quit();
    });
    poll.start(20);
    loop.exec();
    return question->done && question->answered;
}

bool queueTakesJobs(const QString& queue)
{
    const Cups& service = cups();
    // Without the library Qt's own print plugin has no queues either; its checks decide.
    if (!service.usable)
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
    if (!service.usable)
        return true;
    // Qt's print engine and this program share the one CUPS library, whose last status is kept
    // per thread: after the painter ends it is the answer to Qt's job submission.
    return service.lastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

} // namespace zelvo

#else

namespace zelvo {

bool serviceAnswers(std::chrono::milliseconds)
{
    return true;
}

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
