#include "TilingImage.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QtMath>

namespace zelvo {

namespace {

// The exposed part of a surface that covers it is copied; elsewhere the surface is repeated.
void paintTiled(QPainter& painter, const QRect& exposed, const QPixmap& surface)
{
    if (surface.rect().contains(exposed))
        painter.drawPixmap(exposed, surface, exposed);
    else
        painter.drawTiledPixmap(exposed, surface, exposed.topLeft());
}

} // namespace

TilingImage::TilingImage(QWidget* parent) : CommandButton(parent)
{
    setClickOnMousePress(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TilingImage::setPicture(const QImage& picture)
{
    m_picture = picture;
    m_surface = QPixmap();
    update();
}

void TilingImage::setDrawn(const QImage& drawn)
{
    if (drawn.cacheKey() == m_drawn.cacheKey())
        return;
    m_drawn = drawn;
    m_surface = QPixmap();
    update();
}

QSize TilingImage::drawnSizeWanted() const
{
    const qreal ratio = devicePixelRatioF();
    return zoomedPartSize(m_picture.size(), m_look,
                          QSize(qCeil(width() * ratio), qCeil(height() * ratio)));
}

void TilingImage::setLook(const TileLook& look)
{
    if (look == m_look)
        return;
    m_look = look;
    m_surface = QPixmap();
    update();
}

void TilingImage::setGround(Ground ground)
{
    if (ground == m_ground)
        return;
    m_ground = ground;
    m_surface = QPixmap();
    update();
}

QImage TilingImage::composed(QSize size, const QImage& tile) const
{
    QImage whole(size, QImage::Format_RGB32);
    QPainter painter(&whole);
    if (tile.hasAlphaChannel())
        painter.fillRect(whole.rect(), groundBrush(m_ground, palette().color(QPalette::Button)));
    else
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (tile.width() >= size.width() && tile.height() >= size.height())
        painter.drawImage(0, 0, tile);
    else
        painter.drawTiledPixmap(whole.rect(), QPixmap::fromImage(tile));
    return whole;
}

// The surface depends on the area in device pixels, which the painter's scale decides (a
// screen's ratio, or a rendering at another ratio). Filling the whole area once makes every
// later repaint a plain copy of the exposed part; an area too large to keep whole is drawn
// from the tile alone.
const QPixmap& TilingImage::surface(QSize area)
{
    if (area != m_surfaceArea)
        m_surface = QPixmap();
    if (m_surface.isNull() && !m_picture.isNull()) {
        m_surfaceArea = area;
        const QImage tile = zoomedTile(m_picture, m_look, area, MinimumTileSide, m_drawn);
        const bool whole = qint64(area.width()) * area.height() <= MaximumSurfacePixels;
        m_surface = QPixmap::fromImage(composed(whole ? area : tile.size(), tile));
    }
    return m_surface;
}

QImage TilingImage::naturalTiling(QSize area, qreal ratio) const
{
    const QSize pixels(qCeil(area.width() * ratio), qCeil(area.height() * ratio));
    QImage tiled(pixels, QImage::Format_RGB32);
    tiled.fill(palette().color(QPalette::Button));
    if (!m_picture.isNull())
        tiled = composed(pixels,
                         zoomedTile(m_picture, {.repeat = m_look.repeat}, pixels, MinimumTileSide));
    tiled.setDevicePixelRatio(ratio);
    return tiled;
}

void TilingImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // Work in device pixels, so that one picture pixel covers exactly one device pixel at any
    // scale factor; the origin stays on the widget's top-left corner.
    const QTransform toDevice = painter.deviceTransform();
    const qreal scaleX = toDevice.m11();
    const qreal scaleY = toDevice.m22();
    const QRect exposed = QRectF(event->rect().x() * scaleX, event->rect().y() * scaleY,
                                 event->rect().width() * scaleX, event->rect().height() * scaleY)
                              .toAlignedRect();
    painter.setWorldTransform(QTransform::fromScale(1.0 / scaleX, 1.0 / scaleY));
    if (m_picture.isNull())
        painter.fillRect(exposed, palette().color(QPalette::Button));
    else
        paintTiled(painter, exposed,
                   surface(QSize(qCeil(width() * scaleX), qCeil(height() * scaleY))));
}

void TilingImage::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        CommandButton::wheelEvent(event);
        return;
    }
    // A wheel notch is 120; finer wheels add up to one.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / 120;
    m_wheelAngle -= steps * 120;
    if (steps != 0)
        emit zoomWheel(steps);
    event->accept();
}

void TilingImage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        m_surface = QPixmap();
    CommandButton::changeEvent(event);
}

} // namespace zelvo
