#include "OnFirstShow.h"

#include <QEvent>

namespace zelvo {

namespace {

class FirstShowWatch : public QObject
{
public:
    FirstShowWatch(QWidget& widget, std::function<void()> action)
        : QObject(&widget), m_action(std::move(action))
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            m_action();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void onFirstShow(QWidget& widget, std::function<void()> action)
{
    if (widget.isVisible())
        action();
    else
        new FirstShowWatch(widget, std::move(action));
}

} // namespace zelvo
