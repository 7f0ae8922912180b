#include "FocusMark.h"

#include "layouts/Palette.h"

#include <QApplication>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

#include <optional>

namespace zelvo {

namespace {

constexpr int EdgeWidth = 1;
constexpr int RingWidth = 2;
constexpr int MarkWidth = EdgeWidth + RingWidth + EdgeWidth;

// The mark of one window, laid over its controls. A focus frame, which assistive technologies
// pass over as no control of the window.
class FocusRing : public QFocusFrame
{
    Q_OBJECT
public:
    explicit FocusRing(QWidget& window) : QFocusFrame(&window) { hide(); }

    // Around the control, on the window's ground where there is room; within the window's edges,
    // over the control, where there is not.
    void mark(const QWidget& control)
    {
        const QWidget& window = *parentWidget();
        const QRect around(control.mapTo(&window, QPoint(0, 0)), control.size());
        const QRect outer = around.adjusted(-MarkWidth, -MarkWidth, MarkWidth, MarkWidth)
                                .intersected(window.rect());
        setGeometry(outer);
        setMask(QRegion(rect()) -
                QRegion(rect().adjusted(MarkWidth, MarkWidth, -MarkWidth, -MarkWidth)));
        raise();
        show();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(layout::FocusEdge));
        const int inner = EdgeWidth + RingWidth;
        painter.fillRect(rect().adjusted(EdgeWidth, EdgeWidth, -EdgeWidth, -EdgeWidth),
                         QColor(layout::FocusRing));
        painter.fillRect(rect().adjusted(inner, inner, -inner, -inner), QColor(layout::FocusEdge));
    }
};

bool isModifier(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

// Follows the input of the whole program: what was used last, and where the focus is.
class FocusMarks : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            if (!isModifier(static_cast<QKeyEvent*>(event)->key()))
                m_byKeyboard = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
            m_byKeyboard = false;
            if (auto* widget = qobject_cast<QWidget*>(watched))
                follow(*widget->window(), false);
            break;
        case QEvent::FocusIn:
            if (auto* widget = qobject_cast<QWidget*>(watched); widget && !widget->isWindow())
                follow(*widget->window(), m_byKeyboard);
            break;
        case QEvent::FocusOut:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            if (watched == m_marked.data())
                follow(*m_marked->window(), std::nullopt);
            break;
        default:
            break;
        }
        return false;
    }

private:
    // Whether the window's focus is marked from now on, or as it was; the mark follows the focus.
    // Qt's style reads the same attribute.
    void follow(QWidget& window, std::optional<bool> marked)
    {
        if (marked)
            window.setAttribute(Qt::WA_KeyboardFocusChange, *marked);
        QWidget* focused = window.focusWidget();
        auto* ring = window.findChild<FocusRing*>(QString(), Qt::FindDirectChildrenOnly);
        if (!window.testAttribute(Qt::WA_KeyboardFocusChange) || !focused || !focused->hasFocus() ||
            !focused->isVisible()) {
            if (ring)
                ring->hide();
            return;
        }
        if (!ring)
            ring = new FocusRing(window);
        ring->mark(*focused);
        m_marked = focused;
    }

    bool m_byKeyboard = false;
    QPointer<QWidget> m_marked;
};

} // namespace

void installFocusMarks()
{
    static constexpr char Name[] = "zelvo-focus-marks";
    if (qApp->findChild<FocusMarks*>(QLatin1String(Name), Qt::FindDirectChildrenOnly))
        return;
    auto* marks = new FocusMarks(qApp);
    marks->setObjectName(QLatin1String(Name));
    qApp->installEventFilter(marks);
}

} // namespace zelvo

#include "FocusMark.moc"
