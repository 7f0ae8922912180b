#include "FirstPaintWatch.h"

#include "common/Report.h"

#include <QRect>
#include <QRegion>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <csignal>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelvo::bench {

namespace {

constexpr double TimeLimitMs = 30000.0;

std::vector<char*> pointersTo(const std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (const std::string& text : strings)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

FirstPaintWatch::FirstPaintWatch(const QString& display)
{
    m_display = XOpenDisplay(display.toLocal8Bit().constData());
    if (!m_display)
        return;
    int damageErrorBase = 0;
    if (!XDamageQueryExtension(m_display, &m_damageEventBase, &damageErrorBase))
        return;
    m_root = DefaultRootWindow(m_display);
    XSelectInput(m_display, m_root, SubstructureNotifyMask);
    // Damage on the root window reports drawing in every window on the screen.
    m_damage = XDamageCreate(m_display, m_root, XDamageReportRawRectangles);
    XSync(m_display, False);
}

FirstPaintWatch::~FirstPaintWatch()
{
    if (!m_display)
        return;
    if (m_damage)
        XDamageDestroy(m_display, m_damage);
    XCloseDisplay(m_display);
}

void FirstPaintWatch::discardPendingEvents()
{
    XSync(m_display, False);
    XEvent event;
    while (XPending(m_display))
        XNextEvent(m_display, &event);
}

bool FirstPaintWatch::probeShows(const QPoint& place, QRgb ground) const
{
    XImage* image = XGetImage(m_display, m_root, place.x(), place.y(), 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return false;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return (pixel & 0xFFFFFF) == (ground & 0xFFFFFF);
}

double FirstPaintWatch::timeToFirstPaint(const std::vector<std::string>& argv,
                                         const std::vector<std::string>& environment,
                                         const Probe& probe)
{
    discardPendingEvents();
    std::vector<char*> arguments = pointersTo(argv);
    std::vector<char*> variables = pointersTo(environment);

    const Clock::time_point start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execve(arguments[0], arguments.data(), variables.data());
        ::_exit(127);
    }
    if (child < 0)
        return -1.0;

    unsigned long window = 0;
    QRect frame;
    QRegion painted;
    double elapsed = -1.0;
    bool destroyed = false;
    const int connection = ConnectionNumber(m_display);
    while (elapsed < 0.0 && millisecondsSince(start) < TimeLimitMs) {
        bool damaged = false;
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == MapNotify && window == 0) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(m_display, event.xmap.window, &attributes) &&
                    attributes.width > 1 && attributes.height > 1) {
                    window = event.xmap.window;
                    frame = QRect(attributes.x, attributes.y, attributes.width, attributes.height);
                    damaged = true;
                }
            } else if (event.type == ConfigureNotify && event.xconfigure.window == window) {
                frame = QRect(event.xconfigure.x, event.xconfigure.y, event.xconfigure.width,
                              event.xconfigure.height);
            } else if (event.type == m_damageEventBase + XDamageNotify) {
                const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
                painted +=
                    QRect(damage.area.x, damage.area.y, damage.area.width, damage.area.height);
                damaged = true;
            }
        }
        if (damaged && window != 0 && QRegion(frame).subtracted(painted).isEmpty() &&
            probeShows(frame.topLeft() + probe.place, probe.ground)) {
            elapsed = millisecondsSince(start);
            break;
        }
        pollfd readable{connection, POLLIN, 0};
        (void)::poll(&readable, 1, 50);
    }

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    // The next run starts on a screen without this program's windows.
    const Clock::time_point gone = Clock::now();
    while (window != 0 && !destroyed && millisecondsSince(gone) < 5000.0) {
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == DestroyNotify && event.xdestroywindow.window == window)
                destroyed = true;
        }
        pollfd readable{connection, POLLIN, 0};
        (void)::poll(&readable, 1, 50);
    }
    discardPendingEvents();
    return elapsed;
}

} // namespace zelvo::bench
