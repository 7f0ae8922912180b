// The built program as a native Wayland client of weston (headless) on a private session bus:
// its main window on weston's screenshots, and its tray icon as a panel started later sees it.
#include "XSession.h"

#include <QDir>
#include <QTest>

using zelvo::realwindow::XSession;

namespace {

constexpr int WaitMs = 20000;

// Whether the screen shows the main window: its light orange outline around its navy ground.
bool showsMainWindow(const QImage& screen)
{
    const QRgb outline = qRgb(0xFE, 0x9C, 0x61);
    const QRgb ground = qRgb(0x00, 0x00, 0x40);
    for (int y = 0; y + 432 <= screen.height(); ++y) {
        for (int x = 0; x + 497 <= screen.width(); ++x) {
            const auto at = [&](int dx, int dy) { return screen.pixel(x + dx, y + dy); };
            if (at(0, 0) == outline && at(496, 431) == outline && at(496, 0) == outline &&
                at(0, 431) == outline && at(1, 1) == ground && at(495, 430) == ground)
                return true;
        }
    }
    return false;
}

} // namespace

class WaylandTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_session.reset(); }
    void mainWindowShows();
    void trayPanelStartedLaterShowsTheIconAndMenu();

private:
    std::unique_ptr<XSession> m_session;
    QTemporaryDir m_share;
};

void WaylandTest::init()
{
    m_session = std::make_unique<XSession>();
    QString failure = m_session->startWayland();
    if (failure.isEmpty())
        failure = m_session->startSessionBus();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    // The tray icons where the package installs them.
    const QDir icons(QStringLiteral(ZELVO_RESOURCES_DIR "/icons"));
    for (const QString& size : icons.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString apps = m_share.filePath(QStringLiteral("icons/hicolor/") + size);
        (void)QDir().mkpath(apps);
        (void)QFile::link(icons.filePath(size), apps + QStringLiteral("/apps"));
    }
    m_session->setVariable(QStringLiteral("XDG_DATA_DIRS"), m_share.path() + ":/usr/share");
    failure = m_session->startProgram(QStringLiteral(ZELVO_BINARY));
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY2(XSession::waitUntil([&] { return showsMainWindow(m_session->screenshot()); }, WaitMs),
             qPrintable("no main window on weston's screen; the program said: " +
                        m_session->programOutput()));
}

void WaylandTest::mainWindowShows()
{
    QVERIFY(m_session->programRunning());
    QCOMPARE(m_session->programOutput(), QString());
}

// As at many log-ins: the panel starts after the program. It gets the icon at sizes above 16
// pixels, and its menu; a left click is the tray click, and Exit ends the program.
void WaylandTest::trayPanelStartedLaterShowsTheIconAndMenu()
{
    const auto said = m_session->tool(QStringLiteral("/usr/bin/python3"),
                                      {QStringLiteral(ZELVO_TRAY_HOST_SCRIPT)});
    QVERIFY2(said, "the tray icon did not register with a panel started after the program");
    const QStringList lines = said->split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[0].toInt() > 16, qPrintable("largest icon picture: " + lines[0]));
    QCOMPARE(lines[1], QStringLiteral("Hide|Options|About||Exit"));
    QCOMPARE(lines[2], QStringLiteral("Show|Options|About||Exit"));
    QVERIFY2(XSession::waitUntil([&] { return !m_session->programRunning(); }, WaitMs),
             "Exit in the tray menu did not end the program");
}

QTEST_GUILESS_MAIN(WaylandTest)
#include "tst_wayland.moc"
