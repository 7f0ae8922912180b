#include "OnFirstShow.h"

#include <QEvent>
#include <QTimer>

namespace zelvo {

namespace {

// Runs the action at the widget's first event of a type, at once or queued after it.
class FirstEventWatch : public QObject
{
public:
    enum class When { AtOnce, Queued };

    FirstEventWatch(QWidget& widget, QEvent::Type type, When when, std::function<void()> action)
        : QObject(&widget), m_type(type), m_when(when), m_action(std::move(action))
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == m_type) {
            watched->removeEventFilter(this);
            if (m_when == When::Queued)
                QTimer::singleShot(0, watched, std::move(m_action));
            else
                m_action();
            deleteLater();
        }
        return false;
    }

private:
    QEvent::Type m_type;
    When m_when;
    std::function<void()> m_action;
};

} // namespace

void onFirstShow(QWidget& widget, std::function<void()> action)
{
    if (widget.isVisible())
        action();
    else
        new FirstEventWatch(widget, QEvent::Show, FirstEventWatch::When::AtOnce, std::move(action));
}

void afterFirstPaint(QWidget& window, std::function<void()> action)
{
    new FirstEventWatch(window, QEvent::Paint, FirstEventWatch::When::Queued, std::move(action));
}

} // namespace zelvo
