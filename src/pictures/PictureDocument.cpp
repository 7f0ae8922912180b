#include "PictureDocument.h"

namespace zelvo {

namespace {

// Whether a load clipped to the box may have left out part of the picture.
[[nodiscard]] bool cutTo(const QImage& picture, QSize box)
{
    return picture.width() >= box.width() || picture.height() >= box.height();
}

void releaseView(void* kept)
{
    delete static_cast<QImage*>(kept);
}

} // namespace

PictureDocument::PictureDocument(const QString& path, PictureWorkers& workers)
    : m_path(path), m_loader(workers), m_previewLoader(workers)
{
    m_previewStart.setSingleShot(true);
    m_previewStart.setInterval(0);
    connect(&m_previewStart, &QTimer::timeout, this, &PictureDocument::startPreview);
    connect(&m_watch, &PictureWatch::changed, this, &PictureDocument::reload);
    connect(&m_loader, &BackgroundLoader::slowChanged, this, [this](bool slow) {
        m_loaderSlow = slow;
        emit slowChanged(slow);
        updatePreviewSlow();
    });
    connect(&m_previewLoader, &BackgroundLoader::slowChanged, this, [this](bool slow) {
        m_previewLoaderSlow = slow;
        updatePreviewSlow();
    });
}

bool PictureDocument::loadPart(QSize box, const std::shared_ptr<LargeImagePool>& pool)
{
    m_wantedBox = box;
    m_pool = pool;
    if (!m_pixels.isNull() && holds(box)) {
        if (m_whole && box != m_box) {
            m_box = box;
            makeViews();
        }
        return true;
    }
    // A load running for a box that covers this one brings it.
    if (!m_loader.awaited() || !m_loadingBox.isValid() || m_loadingBox.width() < box.width() ||
        m_loadingBox.height() < box.height())
        loadWholeOrPart(box, false);
    return false;
}

void PictureDocument::releasePart()
{
    m_wantedBox = QSize();
    m_pool.reset();
    m_loadingBox = QSize();
    m_loader.cancel();
    m_pixels = m_part = m_wider = m_reduced = QImage();
    m_whole = false;
    if (m_previewWaiting && !m_previewLoader.awaited())
        startPreview();
}

void PictureDocument::pause()
{
    m_loader.cancel();
    m_loadingBox = QSize();
}

void PictureDocument::resume()
{
    if (m_wantedBox.isValid() && !m_loader.awaited() &&
        (m_pixels.isNull() || m_firstShown || m_versionWaiting))
        loadWholeOrPart(m_wantedBox, m_versionWaiting);
}

void PictureDocument::loadBeyond(bool ahead)
{
    if (m_pixels.isNull() || m_loader.awaited() || !cut())
        return;
    // From the whole picture in memory the copy is made at once when it is wanted, not ahead.
    if (m_whole && ahead)
        return;
    if (m_whole || !m_wider.isNull()) {
        loadReduced(ahead);
        return;
    }
    m_loader.load({.path = m_path,
                   .request = {.scaledTo = {}, .clippedTo = m_box * WiderFactor},
                   .ahead = ahead},
                  [this, ahead](const PictureAnswer& answer) {
                      // Pixels beyond the part that cannot be loaded leave what is in memory.
                      if (answer.picture.isNull())
                          return;
                      m_wider = answer.picture;
                      if (cut())
                          loadReduced(ahead);
                      emit widened();
                  });
}

bool PictureDocument::loadPreview(QSize size)
{
    if (size == m_previewSize && (!m_preview.isNull() || m_previewWaiting))
        return !m_preview.isNull();
    m_previewSize = size;
    m_preview = QImage();
    m_previewWaiting = true;
    m_previewStart.start();
    updatePreviewSlow();
    return false;
}

void PictureDocument::reload()
{
    if (m_wantedBox.isValid())
        loadWholeOrPart(m_wantedBox, true);
    else if (m_previewSize.isValid())
        loadPreviewFromFile(true);
}

void PictureDocument::abandon()
{
    disconnect(this, nullptr, nullptr, nullptr);
    m_previewStart.stop();
    m_loader.cancel();
    m_previewLoader.cancel();
    m_watch.watch(QString());
}

const QImage& PictureDocument::wider() const
{
    return m_wider.isNull() ? m_part : m_wider;
}

const QImage& PictureDocument::forSeams() const
{
    return m_reduced.isNull() ? wider() : m_reduced;
}

bool PictureDocument::holds(QSize box) const
{
    if (m_pixels.isNull())
        return false;
    if (m_whole)
        return true;
    const bool shortAcross = box.width() > m_box.width() && m_pixels.width() >= m_box.width();
    const bool shortDown = box.height() > m_box.height() && m_pixels.height() >= m_box.height();
    return !shortAcross && !shortDown;
}

bool PictureDocument::cut() const
{
    if (m_pixels.isNull() || !m_reduced.isNull())
        return false;
    const QSize widest = m_box * WiderFactor;
    if (m_whole)
        return m_pixels.width() > widest.width() || m_pixels.height() > widest.height();
    return m_wider.isNull() ? cutTo(m_pixels, m_box) : cutTo(m_wider, widest);
}

QSize PictureDocument::wholeSize() const
{
    if (!m_measure.pixels.isEmpty())
        return m_measure.pixels;
    if (m_pixels.isNull() || (!m_whole && cutTo(m_pixels, m_box)))
        return QSize();
    return m_pixels.size();
}

bool PictureDocument::busy() const
{
    return m_loader.awaited() || m_previewLoader.awaited() || m_previewStart.isActive();
}

void PictureDocument::loadWholeOrPart(QSize box, bool newVersion)
{
    m_versionWaiting = newVersion;
    m_loadingBox = box;
    m_firstShown = false;
    m_loader.load({.path = m_path,
                   .request = {.scaledTo = {}, .clippedTo = {}, .completeOnly = newVersion},
                   .ahead = false,
                   .measured = true,
                   .wholeOrPart = box,
                   .pool = m_pool},
                  [this, box, newVersion](const PictureAnswer& answer) {
                      partAnswered(box, newVersion, answer);
                  });
}

void PictureDocument::partAnswered(QSize box, bool newVersion, const PictureAnswer& answer)
{
    if (!answer.first)
        m_versionWaiting = false;
    if (answer.picture.isNull()) {
        m_loadingBox = QSize();
        // A new version that cannot be loaded leaves the last good one, in every window.
        if (newVersion)
            return;
        emit cannotLoad();
        // The preview that waited for these pixels tries its own size.
        if (m_previewWaiting)
            loadPreviewFromFile(false);
        return;
    }
    // The part shown first has the same pixels as the whole's top-left: the window keeps it, and
    // does not draw its copies again.
    const QImage first = m_firstShown && !answer.first ? m_part : QImage();
    m_box = box;
    m_pixels = answer.picture;
    m_whole = answer.whole;
    m_reduced = QImage();
    makeViews();
    if (!first.isNull() && first.size() == m_part.size())
        m_part = first;
    if (answer.first) {
        m_firstShown = true;
        emit loaded(newVersion);
        return;
    }
    m_loadingBox = QSize();
    m_measure = answer.measure;
    m_watch.watch(m_path);
    if (std::exchange(m_firstShown, false))
        emit widened();
    else
        emit loaded(newVersion);
    if (m_previewSize.isValid() && (m_previewWaiting || newVersion)) {
        if (m_whole)
            makePreview(newVersion);
        else
            loadPreviewFromFile(newVersion);
    }
}

void PictureDocument::startPreview()
{
    m_previewStart.stop();
    if (!m_previewSize.isValid() || !m_previewWaiting)
        return;
    if (m_whole)
        makePreview(false);
    // The whole picture on its way brings the preview with it.
    else if (!m_loader.awaited() || !m_loadingBox.isValid())
        loadPreviewFromFile(false);
}

void PictureDocument::makePreview(bool newVersion)
{
    m_previewWaiting = true;
    m_previewLoader.load(
        {.path = m_path,
         .request = {.scaledTo = m_previewSize, .clippedTo = {}},
         .ahead = false,
         .pixels = m_pixels},
        [this, newVersion](const PictureAnswer& answer) { previewAnswered(newVersion, answer); });
    updatePreviewSlow();
}

void PictureDocument::loadPreviewFromFile(bool newVersion)
{
    m_previewWaiting = true;
    m_previewLoader.load(
        {.path = m_path,
         .request = {.scaledTo = m_previewSize, .clippedTo = {}, .completeOnly = newVersion},
         .ahead = false},
        [this, newVersion](const PictureAnswer& answer) { previewAnswered(newVersion, answer); });
    updatePreviewSlow();
}

void PictureDocument::previewAnswered(bool newVersion, const PictureAnswer& answer)
{
    m_previewWaiting = false;
    updatePreviewSlow();
    if (answer.picture.isNull()) {
        if (!newVersion)
            emit previewFailed();
        return;
    }
    m_preview = answer.picture;
    if (!m_wantedBox.isValid())
        m_watch.watch(m_path);
    emit previewLoaded(newVersion);
}

void PictureDocument::loadReduced(bool ahead)
{
    const QImage& base = m_whole ? m_pixels : m_wider;
    const QSize widest = m_box * WiderFactor;
    const bool across = m_whole ? base.width() > widest.width() : base.width() >= widest.width();
    const bool down = m_whole ? base.height() > widest.height() : base.height() >= widest.height();
    const QSize judged(across ? JudgedSide : base.width(), down ? JudgedSide : base.height());
    PictureJob job{
        .path = m_path, .request = {.scaledTo = judged, .clippedTo = {}}, .ahead = ahead};
    if (m_whole)
        job.pixels = m_pixels;
    m_loader.load(std::move(job), [this](const PictureAnswer& answer) {
        if (answer.picture.isNull())
            return;
        m_reduced = answer.picture;
        emit widened();
    });
}

void PictureDocument::updatePreviewSlow()
{
    const bool slow = m_previewLoaderSlow || (m_previewWaiting && m_loaderSlow);
    if (slow == m_previewSlow)
        return;
    m_previewSlow = slow;
    emit previewSlowChanged(slow);
}

void PictureDocument::makeViews()
{
    if (!m_whole) {
        m_part = m_pixels;
        m_wider = QImage();
        return;
    }
    m_part = topLeft(m_box);
    m_wider = topLeft(m_box * WiderFactor);
}

QImage PictureDocument::topLeft(QSize size) const
{
    const QSize kept = size.boundedTo(m_pixels.size());
    if (kept == m_pixels.size())
        return m_pixels;
    if (m_pixels.colorCount() > 0)
        return m_pixels.copy(QRect(QPoint(0, 0), kept));
    // A view into the pixels, which it keeps while it lives.
    auto* pixels = new QImage(m_pixels);
    return QImage(pixels->constBits(), kept.width(), kept.height(), pixels->bytesPerLine(),
                  pixels->format(), releaseView, pixels);
}

} // namespace zelvo
