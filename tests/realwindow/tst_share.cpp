// Pictures on a share, a FUSE file system of the test's own (share.py, python3-fusepy) that tells
// what the program reads. A picture whose reads stall holds up nothing else: after it, a click on
// another file still previews, the tile window still opens, and Exit ends the program at once. A
// step in the tile window reads the file stepped to once, for the tile window and the preview.
#include "XSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>

using namespace zelvo::realwindow;

class ShareTest : public QObject
{
    Q_OBJECT

private slots:
    void aStalledReadHoldsUpNothingElse();
    void aStepReadsTheFileOnce();
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
    // Serves the files over the share, the named one stalled; false where the machine has no FUSE.
    [[nodiscard]] bool serve(const QString& stalled = QString());
    // What the share has said since it was last asked: the bytes read of each file, and whether a
    // read stalled.
    void listen();
    // The share has answered no read for a while: the program has done its work.
    [[nodiscard]] bool sharedQuietly();
    // The program started on the share's file under a desktop; its main window once it shows.
    [[nodiscard]] std::optional<WindowId> startOn(const QString& name);
    // A picture of noise, which does not compress.
    [[nodiscard]] static QImage noise(QSize size);

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
    QByteArray m_said;
    QHash<QString, qint64> m_read;
    bool m_stalled = false;
};

bool ShareTest::serve(const QString& stalled)
{
    QStringList arguments{ZELVO_SHARE_SCRIPT, m_files.path(), m_mount.path()};
    if (!stalled.isEmpty())
        arguments << stalled;
    m_share.start(QStringLiteral("/usr/bin/python3"), arguments);
    const QString first = m_mount.filePath(QDir(m_files.path()).entryList(QDir::Files).value(0));
    return m_share.waitForStarted() &&
           XSession::waitUntil([&] { return QFileInfo::exists(first) || !m_share.processId(); },
                               10000) &&
           QFileInfo::exists(first);
}

void ShareTest::listen()
{
    m_said += m_share.readAllStandardOutput();
    for (qsizetype end = m_said.indexOf('\n'); end >= 0; end = m_said.indexOf('\n')) {
        const QList<QByteArray> words = m_said.left(end).split(' ');
        m_said.remove(0, end + 1);
        if (words.value(0) == "stalled")
            m_stalled = true;
        else if (words.size() == 3 && words[0] == "read")
            m_read[QString::fromUtf8(words[1])] += words[2].toLongLong();
    }
}

std::optional<WindowId> ShareTest::startOn(const QString& name)
{
    if (!m_session->startDesktop().isEmpty() ||
        !m_session->startProgram(ZELVO_BINARY, {m_mount.filePath(name)}).isEmpty())
        return std::nullopt;
    return m_session->waitForWindow(
        [&](WindowId w) { return m_session->geometry(w).value_or(QRect()).height() == 432; });
}

QImage ShareTest::noise(QSize size)
{
    QImage noise(size, QImage::Format_RGB32);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(noise.bits()),
                                          noise.sizeInBytes() / 4);
    return noise;
}

bool ShareTest::sharedQuietly()
{
    QElapsedTimer quiet;
    quiet.start();
    return XSession::waitUntil(
        [&] {
            if (m_share.bytesAvailable() > 0 || m_share.waitForReadyRead(50)) {
                listen();
                quiet.restart();
            }
            return quiet.hasExpired(1500);
        },
        20000);
}

void ShareTest::aStalledReadHoldsUpNothingElse()
{
    QImage plain(48, 48, QImage::Format_RGB32);
    plain.fill(Plain);
    QVERIFY(plain.save(m_files.filePath(QStringLiteral("plain.png"))));
    // Several times the 64 KB the share answers.
    QVERIFY(noise({320, 320}).save(m_files.filePath(QStringLiteral("stalled.png"))));
    if (!serve(QStringLiteral("stalled.png")))
        QSKIP("no FUSE file system: python3-fusepy, fuse3 or /dev/fuse is missing");

    m_session = std::make_unique<XSession>();
    if (const QString failure = m_session->start(); !failure.isEmpty())
        QSKIP(qPrintable(failure));
    const auto main = startOn(QStringLiteral("stalled.png"));
    QVERIFY(main);
    QVERIFY2(XSession::waitUntil(
                 [&] {
                     listen();
                     return m_stalled;
                 },
                 10000),
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

// Two photographs larger than the tile window, of noise, which does not compress, under a block of
// one colour each; the tile window opens on the first, and Right steps to the second.
void ShareTest::aStepReadsTheFileOnce()
{
    const std::pair<const char*, QRgb> photos[] = {{"a.jpg", 0xFFD02020}, {"b.jpg", 0xFF2040D0}};
    for (const auto& [name, colour] : photos) {
        QImage photo = noise({2400, 1800});
        QPainter(&photo).fillRect(0, 0, 400, 400, QColor(colour));
        QVERIFY(photo.save(m_files.filePath(QLatin1String(name)), "jpg", 90));
    }
    if (!serve())
        QSKIP("no FUSE file system: python3-fusepy, fuse3 or /dev/fuse is missing");
    m_session = std::make_unique<XSession>();
    if (const QString failure = m_session->start(); !failure.isEmpty())
        QSKIP(qPrintable(failure));
    const auto main = startOn(QStringLiteral("a.jpg"));
    QVERIFY(main);
    QVERIFY(sharedQuietly());
    QVERIFY(m_session->click(on(*main, {371, 163})));
    const auto tile = m_session->waitForWindow(
        [&](WindowId w) { return m_session->geometry(w).value_or(QRect()).width() > 600; });
    QVERIFY2(tile, "a press on the preview showed no tile window");
    const auto tileShows = [&](QRgb colour) {
        return XSession::waitUntil(
            [&] {
                return near(m_session->screenshot().pixel(on(*tile, {100, 100})), colour, 24);
            },
            10000);
    };
    QVERIFY2(tileShows(photos[0].second), "the tile window does not show the first photograph");
    QVERIFY(sharedQuietly());
    m_read.clear();

    QVERIFY(m_session->activate(*tile) && m_session->key(QStringLiteral("Right")));
    QVERIFY2(tileShows(photos[1].second), "the tile window does not show the second photograph");
    QVERIFY(sharedQuietly());
    const qint64 size = QFileInfo(m_files.filePath(QStringLiteral("b.jpg"))).size();
    qInfo("a step read the file stepped to %.2f times over", double(m_read.value("b.jpg")) / size);
    // Once whole, and the headers looked at again for the picture's measure.
    QVERIFY(m_read.value("b.jpg") >= size);
    QVERIFY(m_read.value("b.jpg") <= size + 256 * 1024);
}

QTEST_GUILESS_MAIN(ShareTest)
#include "tst_share.moc"
