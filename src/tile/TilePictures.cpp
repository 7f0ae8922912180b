#include "TilePictures.h"

#include "core/ZoomRule.h"
#include "pictures/SvgPicture.h"

namespace zelvo {

namespace {

// How many times larger each way than the window the part shown at the smallest zoom is.
constexpr int WiderFactor = NaturalZoom / ZoomLevels.front();
// The side of the reduced copy on which the seams of a picture cut to the window are judged.
constexpr int JudgedSide = 512;

// Whether a load clipped to the box may have left out part of the picture.
[[nodiscard]] bool cutTo(const QImage& picture, QSize box)
{
    return picture.width() >= box.width() || picture.height() >= box.height();
}

} // namespace

TilePictures::TilePictures(PictureWorkers& workers, QObject* parent)
    : QObject(parent), m_loader(workers), m_drawLoader(workers)
{
    m_restTimer.setSingleShot(true);
    m_restTimer.setInterval(RestMs);
    connect(&m_restTimer, &QTimer::timeout, this, [this] { loadBeyond(true); });
    connect(&m_loader, &BackgroundLoader::slowChanged, this, &TilePictures::slowChanged);
}

bool TilePictures::drawn() const
{
    return isDrawnPicture(m_part);
}

void TilePictures::drawAt(int zoom, QSize part)
{
    const auto covers = [part](QSize size) {
        return size.width() >= part.width() && size.height() >= part.height();
    };
    if (!drawn() || zoom == NaturalZoom || part.isEmpty() ||
        (zoom == m_drawnZoom && covers(m_drawn.size())) ||
        (zoom == m_drawingZoom && covers(m_drawingPart)))
        return;
    m_drawingZoom = zoom;
    m_drawingPart = part;
    m_drawLoader.load(
        {.path = m_path, .request = {.scaledTo = {}, .clippedTo = part, .zoom = zoom}},
        [this, path = m_path, zoom](const PictureAnswer& answer) {
            if (answer.picture.isNull()) {
                m_drawingZoom = 0;
                return;
            }
            if (path != m_path)
                return;
            m_drawn = answer.picture;
            m_drawnZoom = zoom;
            m_drawingZoom = 0;
            emit widened();
        });
}

QImage TilePictures::drawnAt(int zoom) const
{
    return zoom == m_drawnZoom ? m_drawn : QImage();
}

void TilePictures::load(const QString& path, QSize part, Arrival arrival)
{
    m_restTimer.stop();
    m_asked = path;
    m_arriving = arrival;
    if (arrival == Arrival::Opening)
        m_opening = path;
    m_loader.load({.path = path,
                   .request = {.scaledTo = {},
                               .clippedTo = part,
                               .completeOnly = arrival == Arrival::NewVersion},
                   .ahead = false,
                   .measured = true},
                  [this, path, part, arrival](const PictureAnswer& answer) {
                      m_arriving.reset();
                      if (!answer.picture.isNull())
                          partLoaded(path, part, answer, arrival);
                      // More of the file on show that cannot be loaded leaves what is in memory.
                      else if (arrival != Arrival::Rearranged) {
                          if (arrival == Arrival::Step)
                              resume(part);
                          emit cannotShow(path, arrival);
                      }
                  });
}

void TilePictures::widenTo(QSize part)
{
    if (m_arriving) {
        load(m_asked, part, *m_arriving);
        return;
    }
    if (!m_part.isNull() && !holds(part))
        load(m_path, part, Arrival::Rearranged);
}

bool TilePictures::holds(QSize part) const
{
    const bool shortAcross = part.width() > m_box.width() && m_part.width() >= m_box.width();
    const bool shortDown = part.height() > m_box.height() && m_part.height() >= m_box.height();
    return !shortAcross && !shortDown;
}

void TilePictures::cancel()
{
    m_restTimer.stop();
    m_arriving.reset();
    m_loader.cancel();
    m_drawLoader.cancel();
    m_drawingZoom = 0;
}

void TilePictures::setWholeWanted(bool wanted)
{
    m_wholeWanted = wanted;
    if (wanted && m_restTimer.isActive()) {
        m_restTimer.stop();
        loadBeyond(false);
    }
}

const QImage& TilePictures::forZoom(int zoom) const
{
    return zoom < NaturalZoom && !m_wider.isNull() ? m_wider : m_part;
}

const QImage& TilePictures::forSeams() const
{
    if (!m_whole.isNull())
        return m_whole;
    return m_wider.isNull() ? m_part : m_wider;
}

QSize TilePictures::wholeSize() const
{
    if (!m_measure.pixels.isEmpty())
        return m_measure.pixels;
    return m_part.isNull() || cutTo(m_part, m_box) ? QSize() : m_part.size();
}

QString TilePictures::realSize(QLocale::MeasurementSystem system) const
{
    const QSize whole = wholeSize();
    if (whole.isEmpty())
        return QString();
    return realSizeText(whole, paperInches(whole, m_measure.resolution), measureFor(system));
}

void TilePictures::partLoaded(const QString& path, QSize box, const PictureAnswer& answer,
                              Arrival arrival)
{
    m_path = path;
    m_box = box;
    m_part = answer.picture;
    m_measure = answer.measure;
    m_wider = QImage();
    m_whole = QImage();
    m_drawLoader.cancel();
    m_drawn = QImage();
    m_drawnZoom = 0;
    m_drawingZoom = 0;
    if (cutTo(m_part, m_box)) {
        if (m_wholeWanted)
            loadBeyond(false);
        else
            m_restTimer.start();
    }
    emit shown(path, arrival);
}

void TilePictures::resume(QSize part)
{
    if (m_part.isNull()) {
        if (!m_opening.isEmpty())
            load(m_opening, part, Arrival::Opening);
    } else if (!holds(part)) {
        load(m_path, part, Arrival::Rearranged);
    } else if (cutTo(m_part, m_box) && m_wider.isNull()) {
        if (m_wholeWanted)
            loadBeyond(false);
        else
            m_restTimer.start();
    } else if (!m_wider.isNull() && cutTo(m_wider, m_box * WiderFactor) && m_whole.isNull()) {
        loadWhole(false);
    }
}

// Pixels beyond the window that cannot be loaded leave the reductions to what is there.
void TilePictures::loadBeyond(bool ahead)
{
    m_loader.load({.path = m_path,
                   .request = {.scaledTo = {}, .clippedTo = m_box * WiderFactor},
                   .ahead = ahead},
                  [this, ahead](const PictureAnswer& answer) {
                      if (!answer.picture.isNull())
                          widerLoaded(answer.picture, ahead);
                  });
}

void TilePictures::widerLoaded(const QImage& picture, bool ahead)
{
    m_wider = picture;
    if (cutTo(m_wider, m_box * WiderFactor))
        loadWhole(ahead);
    emit widened();
}

void TilePictures::loadWhole(bool ahead)
{
    const QSize box = m_box * WiderFactor;
    const QSize judged(m_wider.width() >= box.width() ? JudgedSide : m_wider.width(),
                       m_wider.height() >= box.height() ? JudgedSide : m_wider.height());
    m_loader.load(
        {.path = m_path, .request = {.scaledTo = judged, .clippedTo = {}}, .ahead = ahead},
        [this](const PictureAnswer& answer) {
            if (answer.picture.isNull())
                return;
            m_whole = answer.picture;
            emit widened();
        });
}

} // namespace zelvo
