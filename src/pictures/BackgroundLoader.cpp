#include "BackgroundLoader.h"

#include <QPromise>

#include <memory>

namespace zelvo {

BackgroundLoader::BackgroundLoader(QThreadPool& workers, QObject* parent)
    : QObject(parent), m_workers(workers)
{
    m_slowTimer.setSingleShot(true);
    m_slowTimer.setInterval(SlowMs);
    connect(&m_slowTimer, &QTimer::timeout, this, [this] { setSlow(true); });
    connect(&m_watcher, &QFutureWatcher<MeasuredPicture>::finished, this,
            &BackgroundLoader::finished);
}

// The worker holds nothing of this object: the load, told to stop, ends on its own and its
// result goes nowhere.
BackgroundLoader::~BackgroundLoader()
{
    m_stop.request_stop();
}

void BackgroundLoader::load(PictureJob job)
{
    m_newestPurpose = job.purpose;
    if (job.ahead) {
        m_slowTimer.stop();
        setSlow(false);
    } else if (!m_slow && !m_slowTimer.isActive()) {
        m_slowTimer.start();
    }
    if (m_tickets.want().startNow) {
        start(std::move(job));
        return;
    }
    m_waiting = std::move(job);
    m_stop.request_stop();
}

void BackgroundLoader::cancel()
{
    m_tickets.drop();
    m_waiting.reset();
    m_stop.request_stop();
    m_slowTimer.stop();
    setSlow(false);
}

void BackgroundLoader::start(PictureJob job)
{
    m_stop = std::stop_source();
    m_running = std::move(job);
    auto promise = std::make_shared<QPromise<MeasuredPicture>>();
    m_watcher.setFuture(promise->future());
    promise->start();
    m_workers.start([promise, path = m_running.path, request = m_running.request,
                     measured = m_running.measured, stop = m_stop.get_token()] {
        MeasuredPicture result{
            loadPicture(
                path, request,
                {.stop = stop, .deadline = QDeadlineTimer::Forever, .awaitStillFile = true}),
            {}};
        if (measured && result.picture.outcome == LoadOutcome::Loaded)
            result.measure = readPictureMeasure(path);
        promise->addResult(std::move(result));
        promise->finish();
    });
}

void BackgroundLoader::finished()
{
    const QFuture<MeasuredPicture> future = m_watcher.future();
    const MeasuredPicture result = future.resultCount() > 0 ? future.result() : MeasuredPicture{};
    const PictureJob job = std::move(m_running);
    const NewestWins::Ended ended = m_tickets.ended();
    if (ended.start && m_waiting) {
        start(std::move(*m_waiting));
        m_waiting.reset();
    }
    if (!ended.show)
        return;
    m_slowTimer.stop();
    setSlow(false);
    if (result.picture.outcome == LoadOutcome::Loaded)
        emit loaded(job, result.picture.image, result.measure);
    else if (result.picture.outcome == LoadOutcome::CannotLoad)
        emit cannotLoad(job);
}

void BackgroundLoader::setSlow(bool slow)
{
    if (slow == m_slow)
        return;
    m_slow = slow;
    emit slowChanged(slow);
}

} // namespace zelvo
