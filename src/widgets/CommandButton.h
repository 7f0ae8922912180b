#pragma once

#include <QAbstractButton>

namespace zelvo {

// A control drawn by its subclass that runs one command as a button does: reached with Tab,
// pressed by Space and Enter and by assistive technologies, and by the mouse on a click with
// the left button or, where it is so set, on a press of any button.
class CommandButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit CommandButton(QWidget* parent = nullptr);

    void setClickOnMousePress(bool onPress) { m_clickOnPress = onPress; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_clickOnPress = false;
    bool m_leftPressed = false;
};

} // namespace zelvo
