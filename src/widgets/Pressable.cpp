#include "Pressable.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace zelvo {

namespace {

// Space and Enter press a command that has the focus; a held key presses it once.
[[nodiscard]] bool isPressKey(const QKeyEvent& event)
{
    const int key = event.key();
    return !event.isAutoRepeat() &&
           (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
}

class PressKeys : public QObject
{
public:
    PressKeys(Pressable& pressable, QObject* control) : QObject(control), m_pressable(pressable) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !m_pressable.isCommand() ||
            !isPressKey(*static_cast<QKeyEvent*>(event)))
            return false;
        m_pressable.press();
        return true;
    }

private:
    Pressable& m_pressable;
};

} // namespace

Pressable::Pressable(QWidget* control)
    : m_control(*control), m_pressKeys(new PressKeys(*this, control))
{
    control->installEventFilter(m_pressKeys);
}

// The control deletes its children only after this part of it is gone; the filter goes first.
Pressable::~Pressable()
{
    delete m_pressKeys;
}

void Pressable::setCommand(bool command)
{
    m_command = command;
    m_control.setFocusPolicy(command ? Qt::TabFocus : Qt::NoFocus);
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
