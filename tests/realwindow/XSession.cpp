#include "XSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace zelvo::realwindow {

namespace {

constexpr int ToolTimeoutMs = 15000;
constexpr int StartTimeoutMs = 15000;

// The numbers after "=" in an xprop answer such as "_NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 5".
QList<int> cardinals(const QString& answer)
{
    QList<int> values;
    const qsizetype equals = answer.indexOf(QLatin1Char('='));
    if (equals < 0)
        return values;
    for (const QString& part : answer.mid(equals + 1).split(QLatin1Char(','))) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        if (!ok)
            return {};
        values.append(value);
    }
    return values;
}

std::optional<int> field(const QString& xwininfo, const char* name)
{
    const QRegularExpression pattern(QLatin1String(name) + QLatin1String(R"(:\s*(-?\d+))"));
    const QRegularExpressionMatch match = pattern.match(xwininfo);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

} // namespace

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

XSession::XSession()
{
    m_environment = QProcessEnvironment::systemEnvironment();
    // Nothing of the desktop the tests run from may leak into the session.
    for (const char* name : {"QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME", "WAYLAND_DISPLAY",
                             "DBUS_SESSION_BUS_ADDRESS", "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE",
                             "DESKTOP_SESSION", "SESSION_MANAGER", "XAUTHORITY", "DISPLAY"}) {
        m_environment.remove(QLatin1String(name));
    }
    const QString home = m_home.path();
    m_environment.insert(QStringLiteral("HOME"), home);
    m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QLatin1String("/.config"));
    m_environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QLatin1String("/.local/share"));
    m_environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QLatin1String("/.cache"));
    m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    QDir(home).mkpath(QStringLiteral(".config"));
}

XSession::~XSession()
{
    while (!m_processes.empty()) {
        end(m_processes.back().get());
        m_processes.pop_back();
    }
}

QProcess* XSession::spawn(const QString& program, const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(m_environment);
    // Its own process group, so that whatever it starts in turn ends with it.
    process->setChildProcessModifier([] { ::setsid(); });
    process->setProgram(program);
    process->setArguments(arguments);
    m_processes.push_back(std::move(process));
    return m_processes.back().get();
}

void XSession::end(QProcess* process)
{
    if (process->state() == QProcess::NotRunning)
        return;
    const auto group = static_cast<pid_t>(process->processId());
    if (group > 0)
        ::kill(-group, SIGTERM);
    if (process->waitForFinished(3000))
        return;
    if (group > 0)
        ::kill(-group, SIGKILL);
    process->waitForFinished(3000);
}

void XSession::pauseBriefly()
{
    QTest::qWait(50);
}

XSession::Announcement XSession::startAnnouncing(const QString& program,
                                                 const QStringList& arguments, const QString& what)
{
    QProcess* process = spawn(program, arguments);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start();
    if (!process->waitForStarted(StartTimeoutMs))
        return {{}, program + QStringLiteral(" could not be started: ") + process->errorString()};
    QByteArray announced;
    const bool ready = waitUntil(
        [&] {
            announced += process->readAllStandardOutput();
            return announced.contains('\n') || process->state() == QProcess::NotRunning;
        },
        StartTimeoutMs);
    const QString line = QString::fromLocal8Bit(announced).trimmed();
    if (!ready || line.isEmpty()) {
        return {{},
                program + QStringLiteral(" did not report ") + what + QStringLiteral(": ") +
                    QString::fromLocal8Bit(process->readAllStandardError())};
    }
    return {line, {}};
}

QString XSession::start()
{
    // With -displayfd the server writes its display number once it accepts connections.
    const Announcement server = startAnnouncing(
        QStringLiteral("Xvfb"),
        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
         QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
         QStringLiteral("tcp"), QStringLiteral("-noreset")},
        QStringLiteral("a display"));
    if (!server.failure.isEmpty())
        return server.failure;
    bool numbered = false;
    const int number = server.line.toInt(&numbered);
    if (!numbered)
        return QStringLiteral("Xvfb reported no display number but: ") + server.line;
    m_display = QLatin1Char(':') + QString::number(number);
    m_environment.insert(QStringLiteral("DISPLAY"), m_display);

    return {};
}

void XSession::setVariable(const QString& name, const QString& value)
{
    m_environment.insert(name, value);
}

QString XSession::startWindowManager()
{
    spawn(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")})->start();
    const bool managed = waitUntil(
        [this] {
            const auto answer =
                tool(QStringLiteral("xprop"),
                     {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
            return answer && answer->contains(QLatin1String("window id"));
        },
        StartTimeoutMs);
    if (!managed)
        return QStringLiteral("openbox did not take over the display ") + m_display;
    return {};
}

QString XSession::startDesktop()
{
    if (const QString failure = startWindowManager(); !failure.isEmpty())
        return failure;
    // Now and then trayer creates its panel while openbox is still starting and never maps
    // it; a fresh one does.
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess* tray =
            spawn(QStringLiteral("trayer"),
                  {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                   QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                   QStringLiteral("--width"), QStringLiteral("120"), QStringLiteral("--height"),
                   QStringLiteral("24"), QStringLiteral("--transparent"), QStringLiteral("false"),
                   QStringLiteral("--SetDockType"), QStringLiteral("true")});
        tray->start();
        if (waitUntil([this] { return notificationArea().has_value(); }, StartTimeoutMs / 3))
            return {};
        end(tray);
        m_processes.pop_back();
    }
    return QStringLiteral("trayer did not show its notification area");
}

QString XSession::startWayland()
{
    const QString socket = QStringLiteral("wayland-zelvo");
    spawn(QStringLiteral("weston"),
          {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--use-pixman"),
           QStringLiteral("--width=1280"), QStringLiteral("--height=1024"),
           QStringLiteral("--idle-time=0"), QStringLiteral("--socket=") + socket,
           // Lets weston-screenshooter take the screen.
           QStringLiteral("--debug")})
        ->start();
    if (!waitUntil([&] { return QFile::exists(m_runtime.filePath(socket)); }, StartTimeoutMs))
        return QStringLiteral("weston did not open its socket");
    m_environment.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    return {};
}

QString XSession::startSessionBus()
{
    const Announcement bus =
        startAnnouncing(QStringLiteral("dbus-daemon"),
                        {QStringLiteral("--session"), QStringLiteral("--nofork"),
                         QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")},
                        QStringLiteral("its address"));
    if (bus.failure.isEmpty())
        m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.line);
    return bus.failure;
}

QString XSession::startAccessibilityBus()
{
    if (const QString failure = startSessionBus(); !failure.isEmpty())
        return failure;
    // The session bus starts the accessibility bus when it is first asked for its address;
    // the program looks for it once, when it starts.
    const bool launched = waitUntil(
        [this] {
            const auto answer =
                tool(QStringLiteral("dbus-send"),
                     {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                      QStringLiteral("--dest=org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                      QStringLiteral("org.a11y.Bus.GetAddress")});
            return answer && answer->contains(QLatin1String("unix:"));
        },
        StartTimeoutMs);
    if (!launched)
        return QStringLiteral("the session bus did not start the accessibility bus");
    m_environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    m_environment.insert(QStringLiteral("QT_ACCESSIBILITY"), QStringLiteral("1"));
    return {};
}

QString XSession::startProgram(const QString& binary, const QStringList& arguments)
{
    // Folder permissions bind the program as they bind a user: started by the superuser, it
    // runs without the capabilities that override them.
    m_program =
        ::geteuid() == 0
            ? spawn(QStringLiteral("setpriv"),
                    QStringList{QStringLiteral("--bounding-set=-dac_override,-dac_read_search"),
                                binary} +
                        arguments)
            : spawn(binary, arguments);
    m_programs.append(m_program);
    m_output.clear();
    m_program->setProcessChannelMode(QProcess::MergedChannels);
    m_program->start();
    if (!m_program->waitForStarted(StartTimeoutMs))
        return QStringLiteral("the program could not be started: ") + m_program->errorString();
    return {};
}

void XSession::endProgram()
{
    end(m_programs.takeLast());
    m_program = m_programs.isEmpty() ? nullptr : m_programs.last();
}

QString XSession::configFolder() const
{
    return m_environment.value(QStringLiteral("XDG_CONFIG_HOME"));
}

QString XSession::programOutput()
{
    if (m_program)
        m_output += QString::fromLocal8Bit(m_program->readAll());
    return m_output;
}

bool XSession::programRunning() const
{
    return m_program && m_program->state() == QProcess::Running;
}

std::optional<QString> XSession::tool(const QString& program, const QStringList& arguments) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(program, arguments);
    if (!process.waitForFinished(ToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(3000);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QList<WindowId> XSession::visibleProgramWindows() const
{
    QList<WindowId> windows;
    if (!programRunning())
        return windows;
    // xdotool answers with a failure when nothing matches.
    const auto answer = tool(QStringLiteral("xdotool"),
                             {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--pid"), QString::number(m_program->processId())});
    if (!answer)
        return windows;
    for (const QString& line : answer->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        bool ok = false;
        const WindowId window = line.trimmed().toULongLong(&ok);
        if (ok)
            windows.append(window);
    }
    return windows;
}

std::optional<QRect> XSession::geometry(WindowId window) const
{
    const auto answer =
        tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    if (!answer)
        return std::nullopt;
    const auto x = field(*answer, "Absolute upper-left X");
    const auto y = field(*answer, "Absolute upper-left Y");
    const auto width = field(*answer, "Width");
    const auto height = field(*answer, "Height");
    if (!x || !y || !width || !height)
        return std::nullopt;
    return QRect(*x, *y, *width, *height);
}

bool XSession::isViewable(WindowId window) const
{
    const auto answer =
        tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    return answer && answer->contains(QLatin1String("IsViewable"));
}

bool XSession::isWhollyShown(WindowId window) const
{
    const auto tree =
        tool(QStringLiteral("xwininfo"),
             {QStringLiteral("-tree"), QStringLiteral("-id"), QString::number(window)});
    const QString frame = tree ? tree->section(QLatin1String("Parent window id: "), 1) : QString();
    const auto around = geometry(frame.section(QLatin1Char(' '), 0, 0).toULongLong(nullptr, 0));
    const auto client = geometry(window);
    return around && client && around->contains(*client) && isViewable(window);
}

QString XSession::title(WindowId window) const
{
    const auto answer =
        tool(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), QString::number(window)});
    return answer ? answer->trimmed() : QString();
}

std::optional<QMargins> XSession::frameExtents(WindowId window) const
{
    const auto answer =
        tool(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window),
                                       QStringLiteral("_NET_FRAME_EXTENTS")});
    if (!answer)
        return std::nullopt;
    const QList<int> values = cardinals(*answer);
    if (values.size() != 4)
        return std::nullopt;
    return QMargins(values[0], values[2], values[1], values[3]);
}

std::optional<QRect> XSession::notificationArea() const
{
    const auto answer =
        tool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--class"), QStringLiteral("trayer")});
    if (!answer)
        return std::nullopt;
    QRect area;
    for (const QString& line : answer->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (const auto rect = geometry(line.trimmed().toULongLong()); rect && rect->width() > 1)
            area = area.united(*rect);
    }
    if (area.isEmpty())
        return std::nullopt;
    return area;
}

std::optional<QRect> XSession::workArea() const
{
    const auto answer =
        tool(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_WORKAREA")});
    if (!answer)
        return std::nullopt;
    const QList<int> values = cardinals(*answer);
    if (values.size() < 4)
        return std::nullopt;
    return QRect(values[0], values[1], values[2], values[3]);
}

QImage XSession::screenshot() const
{
    if (m_display.isEmpty()) {
        // Under weston: its screenshooter writes the screen into the folder it runs in.
        QTemporaryDir shots;
        const auto taken =
            tool(QStringLiteral("sh"),
                 {QStringLiteral("-c"), QStringLiteral("cd \"$0\" && weston-screenshooter"),
                  shots.path()});
        const QStringList files = QDir(shots.path()).entryList({QStringLiteral("*.png")});
        if (!taken || files.isEmpty())
            return {};
        return QImage(QDir(shots.path()).filePath(files.constFirst()))
            .convertToFormat(QImage::Format_RGB32);
    }
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(QStringLiteral("import"),
                  {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    if (!process.waitForFinished(ToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(3000);
        return {};
    }
    return QImage::fromData(process.readAllStandardOutput(), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

// Not "mousemove --sync": it never returns when the pointer is already there.
bool XSession::moveMouse(QPoint screen) const
{
    if (!tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(screen.x()),
                                          QString::number(screen.y())})) {
        return false;
    }
    const QString expected = QStringLiteral("X=%1\nY=%2\n").arg(screen.x()).arg(screen.y());
    return waitUntil(
        [&] {
            const auto answer = tool(QStringLiteral("xdotool"), {QStringLiteral("getmouselocation"),
                                                                 QStringLiteral("--shell")});
            return answer && answer->startsWith(expected);
        },
        ToolTimeoutMs);
}

bool XSession::click(QPoint screen, int button) const
{
    return moveMouse(screen) &&
           tool(QStringLiteral("xdotool"), {QStringLiteral("click"), QString::number(button)})
               .has_value();
}

bool XSession::mouseDown(int button) const
{
    return tool(QStringLiteral("xdotool"), {QStringLiteral("mousedown"), QString::number(button)})
        .has_value();
}

bool XSession::mouseUp(int button) const
{
    return tool(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QString::number(button)})
        .has_value();
}

std::optional<WindowId> XSession::waitForFolderDialog() const
{
    return waitForWindow([this](WindowId window) {
        return title(window).startsWith(QLatin1String("Find Directory"));
    });
}

QString XSession::chooseInFolderDialog(WindowId dialog, const QString& folder) const
{
    if (!activate(dialog) || !key(QStringLiteral("ctrl+a")) || !typeText(folder) ||
        !key(QStringLiteral("Return")))
        return QStringLiteral("the folder could not be typed into the dialog");
    if (!waitUntil([&] { return !isViewable(dialog); }, 10000))
        return QStringLiteral("the folder dialog did not close after Return");
    return {};
}

bool XSession::typeText(const QString& text) const
{
    return tool(QStringLiteral("xdotool"),
                {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"), text})
        .has_value();
}

bool XSession::key(const QString& keys) const
{
    return tool(QStringLiteral("xdotool"),
                {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys})
        .has_value();
}

bool XSession::activate(WindowId window) const
{
    return tool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"),
                                            QStringLiteral("--sync"), QString::number(window)})
        .has_value();
}

} // namespace zelvo::realwindow
