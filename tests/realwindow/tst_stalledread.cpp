// A picture on a share whose reads stall holds up nothing else: after it, a click on another
// file still previews, the tile window still opens, and Exit ends the program at once. The share
// is a FUSE file system of the test's own (stalled_share.py, python3-fusepy).
#include "XSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace zelvo::realwindow;

namespace {

const QRgb Plain = qRgb(0xC8, 0x28, 0xA0);
// In the main window's client area.
const QPoint FirstName(46 + 25, 96 + 8);
const QPoint PreviewMiddle(304 + 67, 96 + 67);
const QPoint ExitButton(206 + 40, 385 + 14);
constexpr int WaitMs = 10000;

} // namespace

class StalledReadTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aStalledReadHoldsUpNothingElse();

private:
    [[nodiscard]] QRect area(WindowId window) const
    {
        return m_session->geometry(window).value_or(QRect());
    }
    [[nodiscard]] bool showsPlain(WindowId window, QPoint point) const
    {
        return near(m_session->screenshot().pixel(area(window).topLeft() + point), Plain, 8);
    }

    std::unique_ptr<XSession> m_session;
    QTemporaryDir m_files;
    QTemporaryDir m_mount;
    QProcess m_share;
    std::optional<WindowId> m_main;
};

void StalledReadTest::init()
{
    QImage plain(48, 48, QImage::Format_RGB32);
    plain.fill(Plain);
    QVERIFY(plain.save(QDir(m_files.path()).filePath(QStringLiteral("plain.png"))));
    // Noise does not compress: the file is several times the 64 KB the share answers.
    QImage noise(320, 320, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, QRandomGenerator::global()->generate());
    }
    QVERIFY(noise.save(QDir(m_files.path()).filePath(QStringLiteral("stalled.png"))));

    m_share.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral(ZELVO_STALLED_SHARE_SCRIPT), m_files.path(), m_mount.path(),
                   QStringLiteral("stalled.png")});
    m_share.waitForStarted();
    const QString mounted = QDir(m_mount.path()).filePath(QStringLiteral("plain.png"));
    if (!XSession::waitUntil(
            [&] { return QFileInfo::exists(mounted) || m_share.state() != QProcess::Running; },
            WaitMs) ||
        !QFileInfo::exists(mounted))
        QSKIP("no FUSE file system: python3-fusepy, fuse3 or /dev/fuse is missing");

    m_session = std::make_unique<XSession>();
    if (const QString failure = m_session->start(); !failure.isEmpty())
        QSKIP(qPrintable(failure));
    QCOMPARE(m_session->startDesktop(), QString());
    QCOMPARE(m_session->startProgram(
                 ZELVO_BINARY, {QDir(m_mount.path()).filePath(QStringLiteral("stalled.png"))}),
             QString());
    m_main = m_session->waitForWindow([&](WindowId w) { return area(w).height() == 432; });
    QVERIFY(m_main);
}

// The program first, whose stalled read the share lets fail once it is killed; then the share.
void StalledReadTest::cleanup()
{
    m_session.reset();
    if (m_share.state() == QProcess::Running) {
        ::kill(static_cast<pid_t>(m_share.processId()), SIGKILL);
        m_share.waitForFinished(3000);
    }
    QProcess::execute(QStringLiteral("fusermount3"),
                      {QStringLiteral("-u"), QStringLiteral("-z"), m_mount.path()});
}

void StalledReadTest::aStalledReadHoldsUpNothingElse()
{
    QVERIFY2(XSession::waitUntil(
                 [&] {
                     m_share.waitForReadyRead(0);
                     return m_share.peek(64).contains("stalled");
                 },
                 WaitMs),
             "the preview never read the stalled file");

    QVERIFY(m_session->click(area(*m_main).topLeft() + FirstName));
    QVERIFY2(XSession::waitUntil([&] { return showsPlain(*m_main, PreviewMiddle); }, WaitMs),
             "a file clicked after the stalled one is not previewed");

    QVERIFY(m_session->click(area(*m_main).topLeft() + PreviewMiddle));
    const auto tile = m_session->waitForWindow([&](WindowId w) { return area(w).width() > 600; });
    QVERIFY2(tile, "a press on the preview showed no tile window");
    QVERIFY2(XSession::waitUntil([&] { return showsPlain(*tile, QPoint(100, 100)); }, WaitMs),
             "the tile window does not show the file");
    QVERIFY(m_session->activate(*tile) && m_session->key(QStringLiteral("Escape")));
    QVERIFY(XSession::waitUntil([&] { return !m_session->isViewable(*tile); }, WaitMs));

    QVERIFY(m_session->click(area(*m_main).topLeft() + ExitButton));
    QElapsedTimer sinceExit;
    sinceExit.start();
    QVERIFY2(XSession::waitUntil([&] { return !m_session->programRunning(); }, WaitMs),
             "the program is still running after Exit");
    qInfo("the program ended %lld ms after the click on Exit", sinceExit.elapsed());
}

QTEST_GUILESS_MAIN(StalledReadTest)
#include "tst_stalledread.moc"
