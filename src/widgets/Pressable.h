#pragma once

#include <QString>

class QObject;
class QPainter;
class QWidget;

namespace zelvo {

// A label or picture that may run a command when clicked. Then the keyboard and assistive
// technologies can press it too, and it may name what it shows at the moment.
class Pressable
{
public:
    explicit Pressable(QWidget* control);
    virtual ~Pressable();
    Pressable(const Pressable&) = delete;
    Pressable& operator=(const Pressable&) = delete;

    // A control that runs a command is reached with Tab and pressed by Space and Enter.
    void setCommand(bool command);
    [[nodiscard]] bool isCommand() const { return m_command; }
    // Runs the command as the keyboard or an assistive technology asked for it.
    virtual void press() = 0;
    // What the control shows now, read after its declared accessible name; empty for nothing.
    [[nodiscard]] virtual QString subject() const = 0;

private:
    QWidget& m_control;
    // Takes the control's keys that press its command, before the control sees them.
    QObject* m_pressKeys;
    bool m_command = false;
};

// The keyboard focus frame over the whole control, drawn the way the style draws it.
void paintFocusFrame(QPainter& painter, QWidget& widget);

} // namespace zelvo
