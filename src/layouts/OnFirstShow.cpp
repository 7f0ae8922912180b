#include "OnFirstShow.h"

#include <QEvent>
#include <QTimer>

namespace zelvo {

namespace {

// Runs the action at the widget's first event of a type.
class FirstEventWatch : public QObject
{
public:
    FirstEventWatch(QWidget& widget, QEvent::Type type, std::function<void()> action)
        : QObject(&widget), m_type(type), m_action(std::move(action))
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == m_type) {
            watched->removeEventFilter(this);
            m_action();
            deleteLater();
        }
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_action;
};

} // namespace

void onFirstShow(QWidget& widget, std::function<void()> action)
{
    if (widget.isVisible())
        action();
    else
        new FirstEventWatch(widget, QEvent::Show, std::move(action));
}

void afterFirstPaint(QWidget& window, std::function<void()> action)
{
    new FirstEventWatch(window, QEvent::Paint, [&window, action = std::move(action)]() mutable {
        QTimer::singleShot(0, &window, std::move(action));
    });
}

} // namespace zelvo
