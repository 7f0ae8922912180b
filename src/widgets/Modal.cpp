#include "Modal.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace zelvo {

namespace {

class HideWatcher : public QObject
{
public:
    explicit HideWatcher(QEventLoop& loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            m_loop.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& m_loop;
};

} // namespace

void showModal(QWidget& window, const std::function<void()>& activated)
{
    QPointer<QWidget> guard(&window);
    window.setWindowModality(Qt::WindowModal);
    QEventLoop loop;
    HideWatcher watcher(loop);
    window.installEventFilter(&watcher);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.show();
    window.raise();
    window.activateWindow();
    if (activated)
        activated();
    if (guard && guard->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (guard)
        guard->removeEventFilter(&watcher);
}

} // namespace zelvo
