#include "PictureBox.h"

#include "AccessibleControls.h"

#include <QPainter>

namespace zelvo {

void PictureBox::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void PictureBox::setBorder(bool border)
{
    m_border = border;
    update();
}

void PictureBox::setGround(Ground ground)
{
    m_ground = ground;
    update();
}

void PictureBox::setPicture(const QPixmap& picture, const QString& subject)
{
    m_picture.set(picture);
    update();
    if (subject == m_subject)
        return;
    m_subject = subject;
    setAccessibleName(accessibleNameWith(m_baseName, subject));
}

void PictureBox::setAccessibleBaseName(const QString& name)
{
    m_baseName = name;
    setAccessibleName(accessibleNameWith(m_baseName, m_subject));
}

void PictureBox::setArtwork(const QString& path)
{
    m_picture.setPath(path);
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (const QPixmap& shown = picture(); !shown.isNull()) {
        if (m_ground != Ground::Face && shown.hasAlphaChannel()) {
            const QRect area =
                m_stretch ? pictureArea()
                          : QRect(pictureArea().topLeft(), shown.deviceIndependentSize().toSize());
            painter.setBrushOrigin(area.topLeft());
            painter.fillRect(area, groundBrush(m_ground, palette().color(QPalette::Window)));
        }
        if (m_stretch) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawPixmap(pictureArea(), shown);
        } else {
            painter.drawPixmap(pictureArea().topLeft(), shown);
        }
    }
    if (m_border) {
        painter.setPen(QPen(Qt::black, 0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace zelvo
