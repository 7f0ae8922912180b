#include "RepeatSaver.h"

#include "TileWorkbench.h"
#include "TilingImage.h"
#include "desktop/Platform.h"
#include "pictures/PictureWorkers.h"
#include "pictures/RepeatFile.h"
#include "widgets/BusySign.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QPointer>

namespace zelvo {

RepeatSaver::RepeatSaver(QWidget& window, const TileWorkbench& workbench, const TilingImage& view,
                         Platform& platform, PictureWorkers& workers)
    : QObject(&window), m_window(window), m_workbench(workbench), m_view(view),
      m_platform(platform), m_workers(workers), m_sign(new BusySign(window, Qt::BottomLeftCorner))
{
    m_sign->setObjectName(QStringLiteral("RepeatSign"));
}

// A load still running is stopped; the work holds nothing of this object.
RepeatSaver::~RepeatSaver()
{
    m_stop.request_stop();
}

RepeatOrder RepeatSaver::order() const
{
    return {.repeat = m_workbench.repeat(),
            .ground = m_workbench.ground(),
            .face = m_view.palette().color(QPalette::Button)};
}

template <class Work, class Done> void RepeatSaver::run(const QString& doing, Work work, Done done)
{
    using Result = decltype(work(std::stop_token()));
    m_busy = true;
    m_sign->setText(doing);
    m_sign->setBusy(true);
    m_stop = std::stop_source();
    auto* watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, done] {
        watcher->deleteLater();
        m_busy = false;
        m_sign->setBusy(false);
        if (watcher->future().resultCount() > 0)
            done(watcher->future().result());
    });
    watcher->setFuture(
        m_workers.run([work, stop = m_stop.get_token()] { return work(stop); }).result);
}

void RepeatSaver::saveRepeat()
{
    const QString picture = m_workbench.shownPath();
    if (m_busy || picture.isEmpty())
        return;
    const RepeatOrder wanted = order();
    const QString proposed =
        QFileInfo(picture).dir().filePath(repeatFileName(picture, wanted.repeat));
    // The program's events go on while the dialog waits: the tray may close the window meanwhile.
    const QPointer<RepeatSaver> self(this);
    std::optional<QString> chosen =
        m_platform.chooseSaveFile(&m_window, proposed, QLatin1String(PngFilter));
    if (!self || !chosen)
        return;
    if (QFileInfo(*chosen).suffix().isEmpty())
        *chosen += QStringLiteral(".png");
    run(
        QStringLiteral("Saving the repeat\u2026"),
        [picture, wanted, path = *chosen](std::stop_token stop) {
            const RepeatMade made = makeRepeat(picture, wanted, {stop});
            return made.tile.isNull() ? made.why : writePng(made.tile, path);
        },
        [this, path = *chosen](const QString& why) {
            if (why.isEmpty())
                emit saved(path);
            else
                m_platform.messageBox(&m_window, why, MessageStyle::Exclamation, {});
        });
}

void RepeatSaver::setBackground()
{
    const QString picture = m_workbench.shownPath();
    if (m_busy || picture.isEmpty())
        return;
    run(
        QStringLiteral("Setting the desktop background\u2026"),
        [picture, wanted = order()](std::stop_token stop) {
            return setAsDesktopBackground(picture, wanted, {stop});
        },
        [this](const BackgroundReport& report) {
            // The message waits for the user, while the window may be closed from the tray.
            emit backgroundDone(report.set);
            m_platform.messageBox(
                &m_window, report.message,
                report.set ? MessageStyle::Information : MessageStyle::Exclamation, {});
        });
}

} // namespace zelvo
