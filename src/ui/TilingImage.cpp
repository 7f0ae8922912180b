#include "TilingImage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QtMath>

namespace zelvo {

TilingImage::TilingImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TilingImage::setCommand(bool command)
{
    m_command = command;
    setFocusPolicy(command ? Qt::TabFocus : Qt::NoFocus);
}

void TilingImage::setPicture(const QImage& picture)
{
    m_picture = picture;
    m_tile = QPixmap();
    update();
}

void TilingImage::setLook(const TileLook& look)
{
    if (look == m_look)
        return;
    m_look = look;
    m_tile = QPixmap();
    update();
}

// The tile depends on the area in device pixels, which the painter's scale decides (a screen's
// ratio, or a rendering at another ratio).
const QPixmap& TilingImage::tile(QSize area)
{
    if (area != m_tileArea)
        m_tile = QPixmap();
    if (m_tile.isNull() && !m_picture.isNull()) {
        m_tileArea = area;
        m_tile = QPixmap::fromImage(zoomedTile(m_picture, m_look, area,
                                               palette().color(QPalette::Button), MinimumTileSide));
    }
    return m_tile;
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
        painter.drawTiledPixmap(exposed,
                                tile(QSize(qCeil(width() * scaleX), qCeil(height() * scaleY))),
                                exposed.topLeft());
    painter.resetTransform();
    paintFocusFrame(painter, *this);
}

void TilingImage::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TilingImage::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QWidget::wheelEvent(event);
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

void TilingImage::keyPressEvent(QKeyEvent* event)
{
    if (m_command && isPressKey(*event)) {
        press();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TilingImage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        m_tile = QPixmap();
    QWidget::changeEvent(event);
}

} // namespace zelvo
