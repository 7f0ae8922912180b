#pragma once

#include <QString>

class QKeyEvent;
class QPainter;
class QWidget;

namespace zelvo {

// A label or picture that may run a command when clicked. Then the keyboard and assistive
// technologies can press it too, and it may name what it shows at the moment.
class Pressable
{
public:
    explicit Pressable(QWidget* control) : m_control(*control) {}
    virtual ~Pressable() = default;

    // A control that runs a command is reached with Tab and pressed by Space and Enter.
    void setCommand(bool command);
    [[nodiscard]] bool isCommand() const { return m_command; }
    // Runs the command as the keyboard or an assistive technology asked for it.
    virtual void press() = 0;
    // What the control shows now, read after its declared accessible name; empty for nothing.
    [[nodiscard]] virtual QString subject() const = 0;

protected:
    // Presses a command by its key; false when the key is left to the control.
    bool pressBy(const QKeyEvent& event);

private:
    QWidget& m_control;
    bool m_command = false;
};

// Space and Enter press a command that has the focus; a held key presses it once.
[[nodiscard]] bool isPressKey(const QKeyEvent& event);

// The keyboard focus frame over the whole control, drawn the way the style draws it.
void paintFocusFrame(QPainter& painter, QWidget& widget);

} // namespace zelvo
