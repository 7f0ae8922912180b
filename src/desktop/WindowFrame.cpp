#include "WindowFrame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#ifdef ZELVO_WITH_XCB
#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#endif

namespace zelvo {

namespace {

#ifdef ZELVO_WITH_XCB
// Platform-specific: X11 window managers take the buttons of a window's frame from its Motif
// hints. Qt asks for a title bar without buttons by the functions alone and leaves the
// decorations unsaid, which some (openbox) read as every button; these hints name both.
void askForTitleBarOnly(const QWidget& window)
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !x11 || !x11->connection() ||
        !window.windowHandle())
        return;
    xcb_connection_t* connection = x11->connection();
    static constexpr char Name[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof Name - 1, Name), nullptr);
    if (!reply)
        return;
    enum : quint32 { Functions = 1, Decorations = 2, FunctionMove = 4, Border = 2, Title = 8 };
    const std::array<quint32, 5> hints{Functions | Decorations, FunctionMove, Border | Title, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()),
                        reply->atom, reply->atom, 32, hints.size(), hints.data());
    std::free(reply);
}
#else
void askForTitleBarOnly(const QWidget&) {}
#endif

class TitleBarWithoutButtons : public QObject
{
public:
    explicit TitleBarWithoutButtons(QWidget& window) : QObject(&window), m_window(window)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Shown, the window is not mapped yet: the window manager reads the hints as it maps it.
        if (event->type() == QEvent::Show)
            askForTitleBarOnly(m_window);
        if (event->type() == QEvent::WindowStateChange && m_window.isMinimized()) {
            QTimer::singleShot(0, this, [this] {
                if (!m_window.isVisible() || !m_window.isMinimized())
                    return;
                m_window.showNormal();
                m_window.raise();
                m_window.activateWindow();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& m_window;
};

} // namespace

void keepTitleBarWithoutButtons(QWidget& window)
{
    new TitleBarWithoutButtons(window);
}

} // namespace zelvo
