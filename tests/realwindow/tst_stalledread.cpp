// A picture on a share whose reads stall holds up nothing else: after it, a click on another
// file still previews, the tile window still opens, and Exit ends the program at once. The share
// is a FUSE file system of the test's own (stalled_share.py, python3-fusepy).
#include "XSession.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace zelvo::realwindow;

class StalledReadTest : public QObject
{
    Q_OBJECT

private slots:
    void aStalledReadHoldsUpNothingElse();
    // The program first, whose stalled read the share lets fail once it is killed; then the share.
    void cleanup()
    {
        m_session.reset();
        if (m_share.processId() > 0)
            ::kill(static_cast<pid_t>(m_share.processId()), SIGKILL);
        m_share.waitForFinished(3000);
        QProcess::execute(QStringLiteral("fusermount3"), {"-u", "-z", m_mount.path()});
    }

private:
    [[nodiscard]] QPoint on(WindowId window, QPoint point) const
    {
        return m_session->geometry(window).value_or(QRect()).topLeft() + point;
    }
    [[nodiscard]] bool showsPlain(WindowId window, QPoint point) const
    {
        return near(m_session->screenshot().pixel(on(window, point)), Plain, 8);
    }

    static constexpr QRgb Plain = 0xFFC828A0;
    std::unique_ptr<XSession> m_session;
    QTemporaryDir m_files;
    QTemporaryDir m_mount;
    QProcess m_share;
};

void StalledReadTest::aStalledReadHoldsUpNothingElse()
{
    QImage plain(48, 48, QImage::Format_RGB32);
    plain.fill(Plain);
    QVERIFY(plain.save(m_files.filePath(QStringLiteral("plain.png"))));
    // Noise does not compress: the file is several times the 64 KB the share answers.
    QImage noise(320, 320, QImage::Format_RGB32);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(noise.bits()),
                                          noise.sizeInBytes() / 4);
    QVERIFY(noise.save(m_files.filePath(QStringLiteral("stalled.png"))));
    m_share.start("/usr/bin/python3", {ZELVO_STALLED_SHARE_SCRIPT, m_files.path(), m_mount.path(),
                                       QStringLiteral("stalled.png")});
    const QString mounted = m_mount.filePath(QStringLiteral("plain.png"));
    if (!m_share.waitForStarted() ||
        !XSession::waitUntil([&] { return QFileInfo::exists(mounted) || !m_share.processId(); },
                             10000) ||
        !QFileInfo::exists(mounted))
        QSKIP("no FUSE file system: python3-fusepy, fuse3 or /dev/fuse is missing");

    m_session = std::make_unique<XSession>();
    if (const QString failure = m_session->start(); !failure.isEmpty())
        QSKIP(qPrintable(failure));
    QCOMPARE(m_session->startDesktop(), QString());
    QCOMPARE(m_session->startProgram(ZELVO_BINARY, {m_mount.filePath("stalled.png")}), QString());
    const auto main = m_session->waitForWindow(
        [&](WindowId w) { return m_session->geometry(w).value_or(QRect()).height() == 432; });
    QVERIFY(main);
    QVERIFY2(XSession::waitUntil([&] { return m_share.readAll().contains("stalled"); }, 10000),
             "the preview never read the stalled file");

    // The first name of the list, the middle of the preview, the Exit button.
    QVERIFY(m_session->click(on(*main, {71, 104})));
    QVERIFY2(XSession::waitUntil(
                 [&] {
                     return showsPlain(*main, {371, 163});
                 },
                 10000),
             "a file clicked after the stalled one is not previewed");
    QVERIFY(m_session->click(on(*main, {371, 163})));
    const auto tile = m_session->waitForWindow(
        [&](WindowId w) { return m_session->geometry(w).value_or(QRect()).width() > 600; });
    QVERIFY2(tile, "a press on the preview showed no tile window");
    QVERIFY2(XSession::waitUntil(
                 [&] {
                     return showsPlain(*tile, {100, 100});
                 },
                 10000),
             "the tile window does not show the file");
    QVERIFY(m_session->activate(*tile) && m_session->key(QStringLiteral("Escape")));
    QVERIFY(XSession::waitUntil([&] { return !m_session->isViewable(*tile); }, 10000));
    QVERIFY(m_session->click(on(*main, {246, 399})));
    QElapsedTimer sinceExit;
    sinceExit.start();
    QVERIFY2(XSession::waitUntil([&] { return !m_session->programRunning(); }, 10000),
             "the program is still running after Exit");
    qInfo("the program ended %lld ms after the click on Exit", sinceExit.elapsed());
}

QTEST_GUILESS_MAIN(StalledReadTest)
#include "tst_stalledread.moc"
