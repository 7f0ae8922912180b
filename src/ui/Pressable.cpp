#include "Pressable.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace zelvo {

bool isPressKey(const QKeyEvent& event)
{
    const int key = event.key();
    return !event.isAutoRepeat() &&
           (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
}

void Pressable::setCommand(bool command)
{
    m_command = command;
    m_control.setFocusPolicy(command ? Qt::TabFocus : Qt::NoFocus);
}

bool Pressable::pressBy(const QKeyEvent& event)
{
    if (!m_command || !isPressKey(event))
        return false;
    press();
    return true;
}

void paintFocusFrame(QPainter& painter, QWidget& widget)
{
    if (!widget.hasFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(&widget);
    // A control larger than its window is framed where it shows.
    option.rect = widget.visibleRegion().boundingRect().adjusted(1, 1, -1, -1);
    widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &widget);
}

} // namespace zelvo
