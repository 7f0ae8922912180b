#pragma once

#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <QPromise>

#include <atomic>
#include <memory>
#include <utility>

namespace zelvo {

// The threads that load the windows' pictures and make their repeats, beside the windows. Work
// that was told to stop returns soon after, but a read from a stalled network share may never
// return: such work can be given up on, and the pool then takes one more thread in its place (up
// to MaxGivenUp of them), so that later work does not queue behind it. When the program ends it
// waits a moment for the work told to stop, and leaves whatever is still running to end with the
// process rather than waiting for it.
class PictureWorkers
{
public:
    explicit PictureWorkers(int threads);
    ~PictureWorkers();
    PictureWorkers(const PictureWorkers&) = delete;
    PictureWorkers& operator=(const PictureWorkers&) = delete;

    // What the caller keeps of a piece of work, beside its result.
    class Claim
    {
    public:
        Claim() = default;
        // The caller waits no longer for the work, which keeps its thread: another thread takes
        // its place. False, and nothing changes, where it returned or MaxGivenUp are given up on.
        bool giveUp();

    private:
        friend class PictureWorkers;
        struct Shared;
        std::shared_ptr<Shared> m_shared;
    };

    template <class T> struct Started
    {
        QFuture<T> result;
        Claim claim;
    };

    // Runs the work on one of the threads.
    template <class Work> [[nodiscard]] Started<std::invoke_result_t<Work>> run(Work work)
    {
        Claim claim = newClaim();
        auto result =
            QtConcurrent::run(&pool(), [work = std::move(work), shared = claim.m_shared]() mutable {
                const Returning returning(*shared);
                return work();
            });
        return {std::move(result), std::move(claim)};
    }

    // Runs the work on one of the threads; it hands its results to the promise, which may take
    // more than one: what comes first, and the rest once that is done.
    template <class T, class Work> [[nodiscard]] Started<T> runReporting(Work work)
    {
        Claim claim = newClaim();
        QFuture<T> result =
            QtConcurrent::run(&pool(), [work = std::move(work),
                                        shared = claim.m_shared](QPromise<T>& promise) mutable {
                const Returning returning(*shared);
                work(promise);
            });
        return {std::move(result), std::move(claim)};
    }

    // Work was still running when an owner ended; it ends with the process.
    [[nodiscard]] static bool leftRunning() { return s_leftRunning != nullptr; }

    // How many pieces of work may be given up on at once: each holds a thread, and the memory
    // its load had taken.
    static constexpr int MaxGivenUp = 4;
    // How long the end of the program waits for the work that was told to stop.
    static constexpr int EndWaitMs = 50;

private:
    struct Threads;
    // Marks the work returned as it leaves the thread, given up on or not.
    class Returning
    {
    public:
        explicit Returning(Claim::Shared& shared) : m_shared(shared) {}
        ~Returning();
        Q_DISABLE_COPY(Returning)

    private:
        Claim::Shared& m_shared;
    };

    [[nodiscard]] QThreadPool& pool();
    [[nodiscard]] Claim newClaim();

    // Owned, unless work was still running at the end.
    Threads* m_threads;
    // The pools whose work was still running when their owner ended: that work ends with the
    // process.
    static Threads* s_leftRunning;
};

} // namespace zelvo
