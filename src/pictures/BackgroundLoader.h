#pragma once

#include "NewestWins.h"
#include "PictureLoader.h"
#include "PictureWorkers.h"
#include "StoredResolution.h"

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <stop_token>

namespace zelvo {

// One picture a view asks for.
struct PictureJob
{
    QString path;
    PictureRequest request;
    // Loaded ahead of need, so that nobody waits for it: no busy sign.
    bool ahead = false;
    // The file's measure is wanted with the picture.
    bool measured = false;
    // Where valid: the whole picture where it fits the budget, or else its top-left part of this
    // size (see loadWholeOrPart), in place of the request's sizes. A JPEG's part is answered
    // first, as soon as its rows are in, unless the request is for a complete file only.
    QSize wholeOrPart{};
    // Where not null: the picture is made from these pixels in memory, reduced to the request's
    // scaledTo where they are larger, in place of a load of the file.
    QImage pixels{};
    // Where a whole picture's memory comes from, for a job of wholeOrPart.
    std::shared_ptr<LargeImagePool> pool{};
};

// What a request is answered with.
struct PictureAnswer
{
    // Null where the file is not a picture that can be loaded.
    QImage picture;
    // The measure of the file, where the job asked for it.
    PictureMeasure measure;
    // The picture is the whole of the file's, not a part (for a job of wholeOrPart).
    bool whole = false;
    // A part answered first; the answer proper follows.
    bool first = false;
};

// Loads the pictures one view asks for on the program's picture workers, so that the window
// answers whatever a file does to the decoders; each answer goes to the one who asked. The newest
// request wins: a new one stops the running load, starts once that has returned, and is the only
// one that is answered; a view therefore has at most one load running and one waiting. A stopped
// load that has not returned after GiveUpMs (a read from a stalled share) is given up on, and the
// request waiting behind it starts on another thread. A load the user waits for that takes a while
// is reported, for a busy sign. What is shown is never a file part written: a file still changing
// is waited for until it has stood still (openStillFile). A loader that ends while its load runs
// gives up on it at once: whatever that load waits for, it holds up no later one.
class BackgroundLoader : public QObject
{
    Q_OBJECT
public:
    using Answer = std::function<void(const PictureAnswer&)>;

    explicit BackgroundLoader(PictureWorkers& workers, QObject* parent = nullptr);
    // Stops the running load; nothing is answered any more.
    ~BackgroundLoader() override;

    // Asks for the picture in place of every earlier request. A load that was cancelled or
    // superseded answers nothing.
    void load(PictureJob job, Answer answer);
    // Nothing is wanted any more.
    void cancel();
    // A request is not yet answered.
    [[nodiscard]] bool awaited() const { return m_tickets.awaited(); }

    // How long a load the user waits for runs before it is slow.
    static constexpr int SlowMs = 150;
    // How long a load told to stop may take to return before the next one starts without it.
    static constexpr int GiveUpMs = 1000;

signals:
    void slowChanged(bool slow);

private:
    struct Request
    {
        PictureJob job;
        Answer answer;
    };

    void start(Request request);
    // A part answered first, for the load running, while it is the newest request.
    void firstAnswered(int index);
    void finished();
    void giveUp();
    void setSlow(bool slow);

    PictureWorkers& m_workers;
    NewestWins m_tickets;
    Answer m_running;
    std::optional<Request> m_waiting;
    std::stop_source m_stop;
    PictureWorkers::Claim m_claim;
    QFutureWatcher<PictureAnswer> m_watcher;
    QTimer m_slowTimer;
    QTimer m_giveUpTimer;
    bool m_slow = false;
};

} // namespace zelvo
