#include "ImagePushButton.h"

#include <QBitmap>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace zelvo {

ImagePushButton::ImagePushButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setProperties(layout::ImageButtonProps{});
}

void ImagePushButton::setProperties(const layout::ImageButtonProps& properties)
{
    m_properties = properties;
    setEnabled(properties.enabled);
    if (*properties.toolTipText)
        setToolTip(QLatin1String(properties.toolTipText));
    update();
}

void ImagePushButton::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    if (m_properties.useMaskColor && !picture.isNull()) {
        m_picture.setMask(
            picture.createMaskFromColor(QColor(m_properties.maskColor), Qt::MaskInColor));
    }
    update();
}

QSize ImagePushButton::sizeHint() const
{
    return m_picture.isNull() ? QSize(24, 24)
                              : m_picture.deviceIndependentSize().toSize() + QSize(4, 4);
}

void ImagePushButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, QColor(m_properties.backColor));

    const bool pressed = isDown();
    const QColor light = QColor(m_properties.backColor).lighter(160);
    const QColor dark = QColor(m_properties.backColor).darker(250);
    painter.setPen(pressed ? dark : light);
    painter.drawLine(area.topLeft(), area.topRight());
    painter.drawLine(area.topLeft(), area.bottomLeft());
    painter.setPen(pressed ? light : dark);
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.topRight(), area.bottomRight());

    if (!m_picture.isNull()) {
        // A picture larger than the face is shrunk to fit, keeping its proportions.
        const QRect face = area.adjusted(1, 1, -1, -1);
        QSize size = m_picture.deviceIndependentSize().toSize();
        if (size.width() > face.width() || size.height() > face.height())
            size.scale(face.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(face.center());
        if (pressed)
            target.translate(1, 1);
        if (!isEnabled())
            painter.setOpacity(0.5);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(target, m_picture);
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
