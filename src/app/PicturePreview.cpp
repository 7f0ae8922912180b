#include "PicturePreview.h"

#include "pictures/BackgroundLoader.h"
#include "pictures/PictureWatch.h"
#include "widgets/BusySign.h"
#include "widgets/PictureBox.h"

#include <QFileInfo>

namespace zelvo {

PicturePreview::PicturePreview(PictureBox& box, PictureWorkers& workers, QObject* parent)
    : QObject(parent), m_box(box), m_watch(new PictureWatch(this)),
      m_loads(new BackgroundLoader(workers, this)), m_busy(new BusySign(box, Qt::BottomLeftCorner))
{
    // A new version of the previewed file saved by another program; one that cannot be loaded
    // leaves the last good picture.
    connect(m_watch, &PictureWatch::changed, this,
            [this](const QString& path) { load(path, For::NewVersion); });
    connect(m_loads, &BackgroundLoader::slowChanged, m_busy, &BusySign::setBusy);
}

void PicturePreview::show(const QString& path, For purpose)
{
    m_watch->watch(QString());
    load(path, purpose);
}

void PicturePreview::clear()
{
    m_loads->cancel();
    m_watch->watch(QString());
    m_box.clearPicture();
}

bool PicturePreview::loading() const
{
    return m_loads->awaited();
}

void PicturePreview::load(const QString& path, For purpose)
{
    const QSize size = m_box.pictureArea().size() * m_box.devicePixelRatioF();
    m_loads->load(
        {.path = path,
         .request = {.scaledTo = size, .clippedTo = {}, .completeOnly = purpose == For::NewVersion},
         .ahead = false},
        [this, path, purpose](const PictureAnswer& answer) {
            if (answer.picture.isNull())
                failed(purpose);
            else
                loaded(path, answer.picture);
        });
}

void PicturePreview::loaded(const QString& path, const QImage& picture)
{
    QPixmap shown = QPixmap::fromImage(picture);
    shown.setDevicePixelRatio(m_box.devicePixelRatioF());
    m_box.setPicture(shown, QFileInfo(path).fileName());
    m_watch->watch(path);
}

void PicturePreview::failed(For purpose)
{
    if (purpose == For::NewVersion)
        return;
    clear();
    emit cannotShow(purpose);
}

} // namespace zelvo
