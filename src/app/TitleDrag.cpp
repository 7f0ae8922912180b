#include "TitleDrag.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace zelvo {

TitleDrag::TitleDrag(QWidget& window, QWidget& artwork) : QObject(&window), m_window(window)
{
    artwork.installEventFilter(this);
}

void TitleDrag::drag(Qt::MouseButtons buttons)
{
    if (buttons != Qt::LeftButton)
        return;
    if (m_dragging) {
        m_window.move(QCursor::pos() - m_offset);
        return;
    }
    // Under X11 the window follows the pointer by the program's own moves: a move left to the
    // window manager never learns of the release while Qt holds the pointer through XInput 2,
    // and drags the window on until the next click. Elsewhere the window system moves it as a
    // press on a title bar would, where it agrees to.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        if (QWindow* window = m_window.windowHandle(); window && window->startSystemMove()) {
            // Qt hands the artwork a release when the system's move ends; that is no click.
            m_systemMove = true;
            return;
        }
    }
    m_dragging = true;
    m_window.move(QCursor::pos() - m_offset);
}

bool TitleDrag::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove)
        drag(static_cast<QMouseEvent*>(event)->buttons());
    if (event->type() == QEvent::MouseButtonPress) {
        m_dragging = false;
        m_systemMove = false;
        // The point pressed stays under the pointer all through the drag.
        m_offset = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_window.pos();
    }
    if (event->type() == QEvent::MouseButtonRelease && (m_dragging || m_systemMove)) {
        m_dragging = false;
        m_systemMove = false;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zelvo
