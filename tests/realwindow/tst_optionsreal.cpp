// The options window of the built program on a real X server (Xvfb with openbox, no
// notification area), driven with xdotool: a minimise from the window manager's frame, and a
// settings file that cannot be written.
#include "XSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include <memory>

using zelvo::realwindow::WindowId;
using zelvo::realwindow::XSession;

namespace {

const QSize MainSize(497, 432);
const QPoint OptionsButton(76, 345);
// In the options window's client area.
const QPoint IcoBox(268, 220);
const QPoint ApplyButton(152, 301);
constexpr int WaitMs = 10000;

} // namespace

class OptionsRealTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_session.reset(); }
    void minimiseKeepsWhatWasTicked();
    void unsavableChoicesCanBeLeft();

private:
    [[nodiscard]] std::optional<WindowId> openOptions();
    [[nodiscard]] QPoint on(WindowId window, QPoint client) const
    {
        return m_session->geometry(window).value_or(QRect()).topLeft() + client;
    }
    [[nodiscard]] bool mainBackInstead(WindowId options) const
    {
        return XSession::waitUntil(
            [&] { return !m_session->isViewable(options) && m_session->isViewable(m_main); },
            WaitMs);
    }

    std::unique_ptr<XSession> m_session;
    WindowId m_main = 0;
};

void OptionsRealTest::init()
{
    m_session = std::make_unique<XSession>();
    if (const QString failure = m_session->start(); !failure.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no X display for real-window tests: ") + failure));
    QCOMPARE(m_session->startWindowManager(), QString());
    QCOMPARE(m_session->startProgram(QString::fromLocal8Bit(ZELVO_BINARY)), QString());
    const auto main = m_session->waitForWindow(
        [&](WindowId window) {
            return m_session->geometry(window).value_or(QRect()).size() == MainSize;
        },
        20000);
    QVERIFY2(main, qPrintable(QStringLiteral("no main window: ") + m_session->programOutput()));
    m_main = *main;
}

std::optional<WindowId> OptionsRealTest::openOptions()
{
    if (!m_session->click(on(m_main, OptionsButton)))
        return std::nullopt;
    return m_session->waitForWindow(
        [&](WindowId window) { return m_session->title(window) == QLatin1String("Options"); });
}

// The window manager's minimise (openbox draws the button) gives the window back at once, with
// the boxes as the user left them.
void OptionsRealTest::minimiseKeepsWhatWasTicked()
{
    const std::optional<WindowId> options = openOptions();
    QVERIFY2(options, "the Options button showed no options window");
    QVERIFY(m_session->click(on(*options, IcoBox)));
    (void)m_session->tool(QStringLiteral("xdotool"),
                          {QStringLiteral("windowminimize"), QString::number(*options)});
    XSession::waitUntil([&] { return !m_session->isWhollyShown(*options); }, 3000);
    QVERIFY2(XSession::waitUntil([&] { return m_session->isWhollyShown(*options); }, WaitMs),
             "the minimised options window did not come back");
    QVERIFY(m_session->click(on(*options, ApplyButton)));
    QVERIFY2(mainBackInstead(*options), "Apply did not return to the main window");
    const QSettings stored(QDir(m_session->configFolder()).filePath(QStringLiteral("Zelvo.conf")),
                           QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Type/Ico")).toString(), QStringLiteral("*.ico;"));
}

// With a folder put in the settings file's place and no notification area to return through, the
// options window is left with Esc, or the window manager's close, once Apply has said that
// the choices could not be saved; the main window comes back.
void OptionsRealTest::unsavableChoicesCanBeLeft()
{
    // Once the first start has written the file.
    const QString file = QDir(m_session->configFolder()).filePath(QStringLiteral("Zelvo.conf"));
    QVERIFY(XSession::waitUntil([&] { return QFileInfo(file).isFile(); }, WaitMs));
    QVERIFY(QFile::remove(file) && QDir().mkpath(file));
    for (const QString& leave : {QStringLiteral("Escape"), QStringLiteral("alt+F4")}) {
        const std::optional<WindowId> options = openOptions();
        QVERIFY2(options, "the Options button showed no options window");
        QVERIFY(m_session->click(on(*options, IcoBox)));
        QVERIFY(m_session->click(on(*options, ApplyButton)));
        const std::optional<WindowId> box = m_session->waitForWindow([&](WindowId window) {
            return window != *options && window != m_main &&
                   m_session->title(window) == QLatin1String("Zelvo");
        });
        QVERIFY2(box, "Apply did not say that the choices could not be saved");
        QVERIFY(m_session->activate(*box) && m_session->key(QStringLiteral("Return")));
        QVERIFY(XSession::waitUntil([&] { return !m_session->isViewable(*box); }, WaitMs));
        QVERIFY(m_session->activate(*options) && m_session->key(leave));
        QVERIFY2(mainBackInstead(*options),
                 qPrintable(leave + QStringLiteral(" did not leave the options window")));
    }
}

QTEST_GUILESS_MAIN(OptionsRealTest)
#include "tst_optionsreal.moc"
