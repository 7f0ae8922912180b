#include "ImagePushButton.h"

#include "layouts/Artwork.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

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
        // A picture larger than the face is shrunk to fit, keeping its proportions.
        const QRect face = area.adjusted(1, 1, -1, -1);
        QSize size = shown.deviceIndependentSize().toSize();
        if (size.width() > face.width() || size.height() > face.height())
            size.scale(face.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(face.center());
        if (pressed)
            target.translate(1, 1);
        if (!isEnabled())
            painter.setOpacity(0.5);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(target, shown);
        painter.setOpacity(1.0);
    }

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = area.adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace zelvo
