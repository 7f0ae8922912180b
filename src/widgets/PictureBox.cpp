#include "PictureBox.h"

#include "layouts/Artwork.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

namespace zelvo {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent), Pressable(this)
{
    setAttribute(Qt::WA_Hover, false);
}

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

void PictureBox::setPicture(const QPixmap& picture, const QString& subject)
{
    m_picture.set(picture);
    update();
    if (subject != m_subject) {
        m_subject = subject;
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

void PictureBox::setArtwork(const QString& path)
{
    m_picture.setPath(path);
    update();
}

const QPixmap& PictureBox::picture() const
{
    return m_picture.get();
}

QRect PictureBox::pictureArea() const
{
    return m_border ? rect().adjusted(1, 1, -1, -1) : rect();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (const QPixmap& shown = picture(); !shown.isNull()) {
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
    paintFocusFrame(painter, *this);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

} // namespace zelvo
