#pragma once

#include "NewestWins.h"
#include "PictureLoader.h"
#include "StoredResolution.h"

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <optional>
#include <stop_token>

namespace zelvo {

// One picture a view asks for.
struct PictureJob
{
    QString path;
    PictureRequest request;
    // The view's own note of what the picture is for, handed back with it.
    int purpose = 0;
    // Loaded ahead of need, so that nobody waits for it: no busy sign.
    bool ahead = false;
    // The file's measure is wanted with the picture.
    bool measured = false;
};

// A picture loaded, with the measure of its file where the job asked for it.
struct MeasuredPicture
{
    LoadedPicture picture;
    PictureMeasure measure;
};

// Loads the pictures one view asks for on a worker thread of the given pool, so that the window
// answers whatever a file does to the decoders. The pool is the program's own: Qt's global pool
// also scales pictures for the window, which a long load must not hold up. The newest request wins:
// a new one stops the running load, starts once that has returned, and is the only one whose result
// is handed back; a view therefore has at most one load running and one waiting. A load the user
// waits for that takes a while is reported, for a busy sign. What is shown is never a file part
// written: a file still changing is waited for until it has stood still (openStillFile).
class BackgroundLoader : public QObject
{
    Q_OBJECT
public:
    explicit BackgroundLoader(QThreadPool& workers, QObject* parent = nullptr);
    // Stops the running load; nothing is handed back any more.
    ~BackgroundLoader() override;

    // Asks for the picture in place of every earlier request.
    void load(PictureJob job);
    // Nothing is wanted any more.
    void cancel();
    // A request is not yet answered.
    [[nodiscard]] bool awaited() const { return m_tickets.awaited(); }
    // The purpose of the newest request.
    [[nodiscard]] int awaitedPurpose() const { return m_newestPurpose; }

    // How long a load the user waits for runs before it is slow.
    static constexpr int SlowMs = 150;

signals:
    void loaded(const zelvo::PictureJob& job, const QImage& picture,
                const zelvo::PictureMeasure& measure);
    // Not a picture that can be loaded; a superseded or cancelled load reports nothing.
    void cannotLoad(const zelvo::PictureJob& job);
    void slowChanged(bool slow);

private:
    void start(PictureJob job);
    void finished();
    void setSlow(bool slow);

    QThreadPool& m_workers;
    NewestWins m_tickets;
    PictureJob m_running;
    std::optional<PictureJob> m_waiting;
    int m_newestPurpose = 0;
    std::stop_source m_stop;
    QFutureWatcher<MeasuredPicture> m_watcher;
    QTimer m_slowTimer;
    bool m_slow = false;
};

} // namespace zelvo
