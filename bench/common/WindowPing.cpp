#include "WindowPing.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <poll.h>

namespace zelvo::bench {

namespace {

long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A window that is gone by the time a ping reaches it is no reason to end the tests.
int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

WindowPing::WindowPing(const QString& display, unsigned long window)
{
    m_thread = std::thread([this, name = display.toLocal8Bit(), window] { run(name, window); });
    // The thread says whether it could open the display before the first ping is asked about.
    for (int wait = 0; wait < 200 && !m_running && !m_stop; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

WindowPing::~WindowPing()
{
    m_stop = true;
    m_thread.join();
}

int WindowPing::longestWaitMs() const
{
    long long longest = m_longestNs;
    if (const long long since = m_waitingSinceNs; since != 0)
        longest = std::max(longest, nowNs() - since);
    return int(longest / 1000000);
}

void WindowPing::reset()
{
    m_longestNs = 0;
}

void WindowPing::run(const QByteArray& displayName, unsigned long window)
{
    XSetErrorHandler(ignoreError);
    Display* display = XOpenDisplay(displayName.constData());
    if (!display) {
        m_stop = true;
        return;
    }
    const Window root = DefaultRootWindow(display);
    // The answer goes to the root window, to those who take its structure or its children's.
    XSelectInput(display, root, StructureNotifyMask | SubstructureNotifyMask);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    long serial = 0;
    m_running = true;
    while (!m_stop) {
        if (m_waitingSinceNs == 0) {
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = window;
            event.xclient.message_type = protocols;
            event.xclient.format = 32;
            event.xclient.data.l[0] = long(ping);
            event.xclient.data.l[1] = ++serial;
            event.xclient.data.l[2] = long(window);
            XSendEvent(display, window, False, NoEventMask, &event);
            XFlush(display);
            m_waitingSinceNs = nowNs();
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        (void)poll(&connection, 1, 5);
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.message_type == protocols &&
                Atom(event.xclient.data.l[0]) == ping && event.xclient.data.l[1] == serial &&
                (unsigned long)event.xclient.data.l[2] == window && m_waitingSinceNs != 0) {
                m_longestNs = std::max<long long>(m_longestNs, nowNs() - m_waitingSinceNs);
                m_waitingSinceNs = 0;
            }
        }
    }
    XCloseDisplay(display);
}

} // namespace zelvo::bench
