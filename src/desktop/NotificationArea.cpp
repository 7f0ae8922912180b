#include "NotificationArea.h"

#include <QGuiApplication>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#endif

namespace zelvo {

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)

namespace {

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString WatcherPath = QStringLiteral("/StatusNotifierWatcher");
// The host is asked on the user interface thread; a host that hangs holds it no longer.
constexpr int AnswerTimeoutMs = 1000;

bool hostRegistered(const QDBusConnection& bus)
{
    QDBusMessage ask = QDBusMessage::createMethodCall(
        WatcherService, WatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    ask << WatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage answer = bus.call(ask, QDBus::Block, AnswerTimeoutMs);
    return answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty() &&
           answer.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

} // namespace

// Waits on the session bus for a host: the watcher that hosts register with may start with one,
// or learn of one later.
class HostWait : public QObject
{
    Q_OBJECT
public:
    HostWait(QObject* context, const QDBusConnection& bus, std::function<void()> show)
        : QObject(context), m_bus(bus), m_show(std::move(show))
    {
        auto* watcher = new QDBusServiceWatcher(WatcherService, m_bus,
                                                QDBusServiceWatcher::WatchForRegistration, this);
        connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &HostWait::check);
        m_bus.connect(WatcherService, WatcherPath, WatcherService,
                      QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(check()));
    }

public slots:
    void check()
    {
        if (m_done || !hostRegistered(m_bus))
            return;
        m_done = true;
        m_bus.disconnect(WatcherService, WatcherPath, WatcherService,
                         QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(check()));
        deleteLater();
        m_show();
    }

private:
    QDBusConnection m_bus;
    std::function<void()> m_show;
    bool m_done = false;
};

void whenNotificationAreaCanShow(QObject* context, std::function<void()> show)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected() && !hostRegistered(bus)) {
            new HostWait(context, bus, std::move(show));
            return;
        }
    }
    show();
}

#else

void whenNotificationAreaCanShow(QObject*, std::function<void()> show)
{
    show();
}

#endif

} // namespace zelvo

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include "NotificationArea.moc"
#endif
