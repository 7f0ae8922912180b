#include "BackgroundLoader.h"

#include "RowReducer.h"

namespace zelvo {

namespace {

// The load or the reduction a job asks for, on the worker's thread; a part answered first goes to
// the promise as it comes.
void runJob(const PictureJob& job, const std::stop_token& stop, QPromise<PictureAnswer>& promise)
{
    const LoadControl control{
        .stop = stop, .deadline = QDeadlineTimer::Forever, .awaitStillFile = true};
    PictureAnswer answer;
    LoadOutcome outcome = LoadOutcome::CannotLoad;
    if (!job.pixels.isNull()) {
        const LoadGuard guard(control);
        answer.picture = reducedTo(job.pixels, job.request.scaledTo, guard);
        outcome = answer.picture.isNull() ? outcome : LoadOutcome::Loaded;
    } else if (job.wholeOrPart.isValid()) {
        const auto first = [&promise](const QImage& part) {
            promise.addResult(PictureAnswer{.picture = part, .measure = {}, .first = true});
        };
        WholeOrPart loaded = loadWholeOrPart(job.path, job.wholeOrPart, job.request.completeOnly,
                                             control, first, job.pool);
        answer.picture = std::move(loaded.loaded.image);
        answer.whole = loaded.whole;
        outcome = loaded.loaded.outcome;
    } else {
        LoadedPicture loaded = loadPicture(job.path, job.request, control);
        answer.picture = std::move(loaded.image);
        outcome = loaded.outcome;
    }
    if (job.measured && outcome == LoadOutcome::Loaded)
        answer.measure = readPictureMeasure(job.path);
    promise.addResult(std::move(answer));
}

} // namespace

BackgroundLoader::BackgroundLoader(PictureWorkers& workers, QObject* parent)
    : QObject(parent), m_workers(workers)
{
    m_slowTimer.setSingleShot(true);
    m_slowTimer.setInterval(SlowMs);
    connect(&m_slowTimer, &QTimer::timeout, this, [this] { setSlow(true); });
    m_giveUpTimer.setSingleShot(true);
    m_giveUpTimer.setInterval(GiveUpMs);
    connect(&m_giveUpTimer, &QTimer::timeout, this, &BackgroundLoader::giveUp);
    connect(&m_watcher, &QFutureWatcher<PictureAnswer>::finished, this,
            &BackgroundLoader::finished);
    connect(&m_watcher, &QFutureWatcher<PictureAnswer>::resultReadyAt, this,
            &BackgroundLoader::firstAnswered);
}

// The worker holds nothing of this object: the load, told to stop, ends on its own and its
// result goes nowhere.
BackgroundLoader::~BackgroundLoader()
{
    m_stop.request_stop();
    if (m_tickets.running())
        (void)m_claim.giveUp();
}

void BackgroundLoader::load(PictureJob job, Answer answer)
{
    if (job.ahead) {
        m_slowTimer.stop();
        setSlow(false);
    } else if (!m_slow && !m_slowTimer.isActive()) {
        m_slowTimer.start();
    }
    if (m_tickets.want().startNow) {
        start({std::move(job), std::move(answer)});
        return;
    }
    m_waiting = Request{std::move(job), std::move(answer)};
    m_stop.request_stop();
    if (!m_giveUpTimer.isActive())
        m_giveUpTimer.start();
}

void BackgroundLoader::cancel()
{
    m_tickets.drop();
    m_waiting.reset();
    m_stop.request_stop();
    m_slowTimer.stop();
    setSlow(false);
}

void BackgroundLoader::start(Request request)
{
    m_giveUpTimer.stop();
    m_stop = std::stop_source();
    m_running = std::move(request.answer);
    auto started = m_workers.runReporting<PictureAnswer>(
        [job = std::move(request.job), stop = m_stop.get_token()](
            QPromise<PictureAnswer>& promise) { runJob(job, stop, promise); });
    m_claim = std::move(started.claim);
    m_watcher.setFuture(started.result);
}

void BackgroundLoader::firstAnswered(int index)
{
    const PictureAnswer answer = m_watcher.future().resultAt(index);
    if (answer.first && m_running && m_tickets.awaited() && !m_waiting)
        m_running(answer);
}

void BackgroundLoader::finished()
{
    const QFuture<PictureAnswer> future = m_watcher.future();
    const int count = future.resultCount();
    const PictureAnswer answer = count > 0 ? future.resultAt(count - 1) : PictureAnswer{};
    Answer asker = std::move(m_running);
    m_running = nullptr;
    const NewestWins::Ended ended = m_tickets.ended();
    if (ended.start && m_waiting) {
        start(std::move(*m_waiting));
        m_waiting.reset();
    }
    if (!ended.show)
        return;
    m_slowTimer.stop();
    setSlow(false);
    asker(answer);
}

// The stopped load keeps its thread until it returns, and its result goes nowhere: the request
// waiting behind it starts at once, and the watcher follows that one.
void BackgroundLoader::giveUp()
{
    if (!m_tickets.running() || !m_waiting)
        return;
    if (!m_claim.giveUp()) {
        m_giveUpTimer.start();
        return;
    }
    m_running = nullptr;
    const NewestWins::Ended ended = m_tickets.ended();
    if (ended.start) {
        start(std::move(*m_waiting));
        m_waiting.reset();
    }
}

void BackgroundLoader::setSlow(bool slow)
{
    if (slow == m_slow)
        return;
    m_slow = slow;
    emit slowChanged(slow);
}

} // namespace zelvo
