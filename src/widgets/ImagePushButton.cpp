#include "ImagePushButton.h"

#include "layouts/Artwork.h"

#include <QPainter>

namespace zelvo {

ImagePushButton::ImagePushButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ImagePushButton::setPicture(const QPixmap& picture)
{
    m_picture.set(picture);
    update();
}

void ImagePushButton::setArtwork(const QString& path)
{
    m_picture.setPath(path);
    update();
}

void ImagePushButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    const QColor back = palette().color(QPalette::Button);
    painter.fillRect(area, back);

    const bool pressed = isDown();
    const QColor light = back.lighter(160);
    const QColor dark = back.darker(250);
    painter.setPen(pressed ? dark : light);
    painter.drawLine(area.topLeft(), area.topRight());
    painter.drawLine(area.topLeft(), area.bottomLeft());
    painter.setPen(pressed ? light : dark);
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.topRight(), area.bottomRight());

    if (const QPixmap& shown = picture(); !shown.isNull()) {
        // The picture at its own size, centred on the face and cut at its edges.
        const QRect face = area.adjusted(1, 1, -1, -1);
        QRect target(QPoint(0, 0), shown.deviceIndependentSize().toSize());
        target.moveCenter(face.center());
        if (pressed)
            target.translate(1, 1);
        if (!isEnabled())
            painter.setOpacity(0.5);
        painter.setClipRect(face);
        painter.drawPixmap(target, shown);
        painter.setClipping(false);
        painter.setOpacity(1.0);
    }
}

} // namespace zelvo
