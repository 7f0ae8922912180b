#include "BackgroundLoader.h"

namespace zelvo {

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
}

// The worker holds nothing of this object: the load, told to stop, ends on its own and its
// result goes nowhere.
BackgroundLoader::~BackgroundLoader()
{
    m_stop.request_stop();
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
    auto started = m_workers.run([job = std::move(request.job), stop = m_stop.get_token()] {
        const LoadedPicture loaded = loadPicture(
            job.path, job.request,
            {.stop = stop, .deadline = QDeadlineTimer::Forever, .awaitStillFile = true});
        PictureAnswer answer{loaded.image, {}};
        if (job.measured && loaded.outcome == LoadOutcome::Loaded)
            answer.measure = readPictureMeasure(job.path);
        return answer;
    });
    m_claim = std::move(started.claim);
    m_watcher.setFuture(started.result);
}

void BackgroundLoader::finished()
{
    const QFuture<PictureAnswer> future = m_watcher.future();
    const PictureAnswer answer = future.resultCount() > 0 ? future.result() : PictureAnswer{};
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
