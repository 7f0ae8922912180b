#include "Startup.h"

#include <QApplication>
#include <QByteArrayView>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace zelvo {

namespace {

QtMessageHandler handlerBeforeStart = nullptr;
// The platform plugin asked for that Qt could not find, as its warning names it.
QByteArray missingPlugin;

QByteArray missingPluginMessage()
{
    QByteArray message = "zelvo: Qt's platform plugin \"" + missingPlugin + "\" is not installed";
    // Platform-specific: the plugin Debian leaves out of a plain Qt install.
    if (missingPlugin.startsWith("wayland"))
        message += " (Debian package qt6-wayland)";
    return message + '\n';
}

void platformStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        // Only the platform plugin fails fatally this early: it is not installed, or it found
        // no display to open.
        std::fputs(missingPlugin.isEmpty()
                       ? "zelvo: cannot open the display to show the program on\n"
                       : missingPluginMessage().constData(),
                   stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    const QByteArrayView category(context.category ? context.category : "");
    if (category == "qt.qpa.plugin" &&
        text.startsWith(QLatin1String("Could not find the Qt platform plugin"))) {
        missingPlugin = text.section(QLatin1Char('"'), 1, 1).toLocal8Bit();
        return;
    }
    if (category.startsWith("qt.qpa"))
        return;
    if (handlerBeforeStart)
        handlerBeforeStart(type, context, text);
}

} // namespace

bool displayReachable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Platform-specific: on X11 and Wayland desktops a missing display would otherwise end in
    // an abort from the platform plugin.
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("QT_QPA_PLATFORM")) {
        std::fputs("zelvo: no display to show the program on (DISPLAY and WAYLAND_DISPLAY are "
                   "not set)\n",
                   stderr);
        return false;
    }
#endif
    return true;
}

void beginPlatformStart()
{
    handlerBeforeStart = qInstallMessageHandler(platformStartMessage);
}

void endPlatformStart()
{
    qInstallMessageHandler(handlerBeforeStart);
    handlerBeforeStart = nullptr;
}

void avoidSessionBusAutolaunch()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Platform-specific: with no session bus address, libdbus "autolaunches" a bus daemon,
    // which costs a process start at every run and leaves a daemon behind. A desktop session
    // always has a bus; without one the tray icon uses the X11 notification area directly.
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QLatin1String("/bus")))
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
#endif
}

void configureApplication()
{
    QApplication::setApplicationName(QStringLiteral("Zelvo"));
    QApplication::setApplicationVersion(QStringLiteral(ZELVO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.zelvo.Zelvo"));
    QApplication::setQuitOnLastWindowClosed(false);
}

} // namespace zelvo
