#pragma once

#include <QColor>
#include <QDeadlineTimer>
#include <QImage>
#include <QList>
#include <QMargins>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

namespace zelvo::realwindow {

using WindowId = qulonglong;

// A private X display with a window manager and a notification area, the program running on
// it, and the X tools that look at it and drive it as a user would. Everything it starts runs
// in its own process group and is ended when the session goes, whatever state it is in.
class XSession
{
public:
    XSession();
    ~XSession();
    Q_DISABLE_COPY(XSession)

    // Starts the display server. Returns why it could not, or an empty text.
    [[nodiscard]] QString start();
    // Starts the window manager and the notification area on it, the same way.
    [[nodiscard]] QString startDesktop();
    // Only the window manager: a desktop with no notification area.
    [[nodiscard]] QString startWindowManager();
    // Sets an environment variable for what is started from now on.
    void setVariable(const QString& name, const QString& value);
    // Starts a Wayland compositor (weston, headless) in place of the display server, for the
    // program to run on natively.
    [[nodiscard]] QString startWayland();
    // Starts a private session bus for what is started from now on.
    [[nodiscard]] QString startSessionBus();
    // Starts a private session bus with the accessibility bus behind it, and has the program
    // started after it show itself to assistive technologies. Returns why it could not, or an
    // empty text.
    [[nodiscard]] QString startAccessibilityBus();
    // Starts a program, the one the session looks at from then on, once more in the same home
    // after it ended; an empty text when it started.
    [[nodiscard]] QString startProgram(const QString& binary, const QStringList& arguments = {});
    // Ends the program started last: the one started before it is looked at again.
    void endProgram();

    [[nodiscard]] QString configFolder() const;
    [[nodiscard]] QString display() const { return m_display; }
    // All the program has written since it started.
    [[nodiscard]] QString programOutput();
    [[nodiscard]] bool programRunning() const;

    // Runs an X tool on the display; its standard output, or nothing when it failed.
    [[nodiscard]] std::optional<QString> tool(const QString& program,
                                              const QStringList& arguments) const;

    // The program's windows that are mapped at this moment.
    [[nodiscard]] QList<WindowId> visibleProgramWindows() const;
    // The client area of a window on the screen, frame excluded.
    [[nodiscard]] std::optional<QRect> geometry(WindowId window) const;
    [[nodiscard]] bool isViewable(WindowId window) const;
    // Viewable, and all of it within the window manager's frame: mapping a window again, a
    // window manager may first show the frame cut short, as openbox's restore animation does.
    [[nodiscard]] bool isWhollyShown(WindowId window) const;
    [[nodiscard]] QString title(WindowId window) const;
    // What the window manager's frame adds around the client area.
    [[nodiscard]] std::optional<QMargins> frameExtents(WindowId window) const;
    // The mapped windows of the notification area, as one rectangle.
    [[nodiscard]] std::optional<QRect> notificationArea() const;
    // The work area the window manager leaves free for ordinary windows.
    [[nodiscard]] std::optional<QRect> workArea() const;

    // Waits, up to timeoutMs, for a mapped program window that satisfies the test.
    template <class Test>
    [[nodiscard]] std::optional<WindowId> waitForWindow(Test&& test, int timeoutMs = 10000) const;

    // The folder dialog the program opens, once it shows.
    [[nodiscard]] std::optional<WindowId> waitForFolderDialog() const;
    // Types the folder into the dialog and confirms it: empty when the dialog closed after,
    // else what went wrong.
    [[nodiscard]] QString chooseInFolderDialog(WindowId dialog, const QString& folder) const;

    [[nodiscard]] QImage screenshot() const;

    bool moveMouse(QPoint screen) const;
    bool click(QPoint screen, int button = 1) const;
    bool mouseDown(int button = 1) const;
    bool mouseUp(int button = 1) const;
    bool typeText(const QString& text) const;
    bool key(const QString& keys) const;
    bool activate(WindowId window) const;

    // Polls every 50 ms, with events processed, until the condition holds or timeoutMs passes.
    template <class Condition> static bool waitUntil(Condition&& condition, int timeoutMs);

private:
    // The line a helper writes once it is ready, or why there is none.
    struct Announcement
    {
        QString line;
        QString failure;
    };

    [[nodiscard]] QProcess* spawn(const QString& program, const QStringList& arguments);
    // Starts a helper that writes one line, what is named, once it is ready, and waits for it.
    [[nodiscard]] Announcement startAnnouncing(const QString& program, const QStringList& arguments,
                                               const QString& what);
    static void end(QProcess* process);
    static void pauseBriefly();

    QTemporaryDir m_home;
    QTemporaryDir m_runtime;
    QString m_display;
    QProcessEnvironment m_environment;
    // Started in this order, ended in the reverse one.
    std::vector<std::unique_ptr<QProcess>> m_processes;
    QList<QProcess*> m_programs;
    QProcess* m_program = nullptr;
    QString m_output;
};

template <class Condition> bool XSession::waitUntil(Condition&& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        pauseBriefly();
    }
}

template <class Test>
std::optional<WindowId> XSession::waitForWindow(Test&& test, int timeoutMs) const
{
    std::optional<WindowId> found;
    waitUntil(
        [&] {
            for (const WindowId window : visibleProgramWindows()) {
                if (test(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

// True when every channel of the two colours lies within the tolerance.
[[nodiscard]] bool near(QRgb a, QRgb b, int tolerance);

} // namespace zelvo::realwindow
