#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace zelvo {

// Moves a borderless window as its title artwork is dragged with the left button; the release
// that ends a drag is no click on the artwork.
class TitleDrag : public QObject
{
    Q_OBJECT
public:
    // Watches the artwork's mouse events; the window owns the drag.
    TitleDrag(QWidget& window, QWidget& artwork);

    // The pointer moved over the artwork with the buttons held.
    void drag(Qt::MouseButtons buttons);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    bool m_dragging = false;
    bool m_systemMove = false;
    QPoint m_offset;
};

} // namespace zelvo
