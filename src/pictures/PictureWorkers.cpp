#include "PictureWorkers.h"

#include "PictureBudget.h"

#include <functional>

namespace zelvo {

struct PictureWorkers::Threads
{
    QThreadPool pool;
    std::atomic<int> givenUp{0};
    // Threads left running at an earlier end, kept where leak checkers find them.
    Threads* earlier = nullptr;
};

struct PictureWorkers::Claim::Shared
{
    enum State { Running, Returned, GivenUp };
    explicit Shared(Threads& owner) : threads(owner) {}
    Threads& threads;
    std::atomic<int> state{Running};
};

Q_CONSTINIT PictureWorkers::Threads* PictureWorkers::s_leftRunning = nullptr;

namespace {

// Where the process ends by returning from main rather than at once, the work left running is
// waited for a while before the libraries it may be running in are unloaded: made at the first
// pool left running, after those libraries were loaded, it is destroyed before they are unloaded.
struct LeftRunningWait
{
    std::function<void()> wait;
    ~LeftRunningWait() { wait(); }
};

} // namespace

PictureWorkers::PictureWorkers(int threads) : m_threads(new Threads)
{
    m_threads->pool.setMaxThreadCount(threads);
}

PictureWorkers::~PictureWorkers()
{
    if (m_threads->pool.waitForDone(EndWaitMs)) {
        delete m_threads;
        return;
    }
    m_threads->earlier = s_leftRunning;
    s_leftRunning = m_threads;
    static const LeftRunningWait atEnd{[] {
        for (Threads* threads = s_leftRunning; threads; threads = threads->earlier)
            (void)threads->pool.waitForDone(PictureWorkLimitMs + EndWaitMs);
    }};
}

QThreadPool& PictureWorkers::pool()
{
    return m_threads->pool;
}

PictureWorkers::Claim PictureWorkers::newClaim()
{
    Claim claim;
    claim.m_shared = std::make_shared<Claim::Shared>(*m_threads);
    return claim;
}

bool PictureWorkers::Claim::giveUp()
{
    if (!m_shared)
        return false;
    Threads& threads = m_shared->threads;
    if (++threads.givenUp > MaxGivenUp) {
        --threads.givenUp;
        return false;
    }
    int running = Shared::Running;
    if (!m_shared->state.compare_exchange_strong(running, Shared::GivenUp)) {
        --threads.givenUp;
        return false;
    }
    threads.pool.releaseThread();
    return true;
}

PictureWorkers::Returning::~Returning()
{
    if (m_shared.state.exchange(Claim::Shared::Returned) != Claim::Shared::GivenUp)
        return;
    m_shared.threads.pool.reserveThread();
    --m_shared.threads.givenUp;
}

} // namespace zelvo
