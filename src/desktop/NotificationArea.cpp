#include "NotificationArea.h"

#include <QGuiApplication>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QTimer>
#endif

#ifdef ZELVO_WITH_XCB
#include <xcb/xcb.h>

#include <cstdlib>
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

// Platform-specific: an X11 notification area owns its screen's system tray selection.
bool x11NotificationAreaRuns()
{
#ifdef ZELVO_WITH_XCB
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !x11 || !x11->connection())
        return false;
    xcb_connection_t* connection = x11->connection();
    int screen = 0;
    char* host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) != 0)
        std::free(host);
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, name.size(), name.constData()), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    std::free(owner);
    std::free(atom);
    return owned;
#else
    return false;
#endif
}

} // namespace

// Waits on the session bus for a host: the watcher that hosts register with may start with one,
// or learn of one later. Under X11 an X11 notification area may come first instead; the X
// server tells of it with no more than a look at the selection, once a second.
class HostWait : public QObject
{
    Q_OBJECT
public:
    HostWait(QObject* context, const QDBusConnection& bus, std::function<void()> show, bool x11)
        : QObject(context), m_bus(bus), m_show(std::move(show))
    {
        if (x11) {
            auto* poll = new QTimer(this);
            connect(poll, &QTimer::timeout, this, [this] {
                if (!m_done && x11NotificationAreaRuns())
                    finish();
            });
            poll->start(1000);
        }
        auto* watcher = new QDBusServiceWatcher(WatcherService, m_bus,
                                                QDBusServiceWatcher::WatchForRegistration, this);
        connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &HostWait::check);
        m_bus.connect(WatcherService, WatcherPath, WatcherService,
                      QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(check()));
    }

public slots:
    void check()
    {
        if (!m_done && hostRegistered(m_bus))
            finish();
    }

private:
    void finish()
    {
        m_done = true;
        m_bus.disconnect(WatcherService, WatcherPath, WatcherService,
                         QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(check()));
        deleteLater();
        m_show();
    }

    QDBusConnection m_bus;
    std::function<void()> m_show;
    bool m_done = false;
};

void whenNotificationAreaCanShow(QObject* context, std::function<void()> show)
{
    // Under X11 with no session bus, Qt's X11 notification area picks the icon up whenever one
    // starts.
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    if (!x11 || !x11NotificationAreaRuns()) {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected() && !hostRegistered(bus)) {
            new HostWait(context, bus, std::move(show), x11);
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
