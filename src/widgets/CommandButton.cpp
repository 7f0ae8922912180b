#include "CommandButton.h"

#include <QKeyEvent>

namespace zelvo {

CommandButton::CommandButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover, false);
}

// Enter presses the command too, once however long it is held; the arrow keys leave the focus
// where it is.
void CommandButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            click();
        break;
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Escape:
        QAbstractButton::keyPressEvent(event);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CommandButton::mousePressEvent(QMouseEvent* event)
{
    m_leftPressed = event->button() == Qt::LeftButton;
    if (m_clickOnPress)
        click();
}

void CommandButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool clicked = m_leftPressed && event->button() == Qt::LeftButton &&
                         hitButton(event->position().toPoint());
    m_leftPressed = false;
    if (clicked && !m_clickOnPress)
        click();
}

} // namespace zelvo
