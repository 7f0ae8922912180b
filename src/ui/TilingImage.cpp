#include "TilingImage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

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

QImage TilingImage::composeTile(const QImage& picture, const QColor& ground)
{
    const int across = (MinimumTileSide + picture.width() - 1) / picture.width();
    const int down = (MinimumTileSide + picture.height() - 1) / picture.height();
    QImage tile(picture.width() * across, picture.height() * down, QImage::Format_RGB32);
    tile.fill(ground);
    QPainter painter(&tile);
    for (int y = 0; y < down; ++y) {
        for (int x = 0; x < across; ++x)
            painter.drawImage(x * picture.width(), y * picture.height(), picture);
    }
    return tile;
}

const QPixmap& TilingImage::tile()
{
    if (m_tile.isNull() && !m_picture.isNull())
        m_tile = QPixmap::fromImage(composeTile(m_picture, palette().color(QPalette::Button)));
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
        painter.drawTiledPixmap(exposed, tile(), exposed.topLeft());
    painter.resetTransform();
    paintFocusFrame(painter, *this);
}

void TilingImage::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
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
