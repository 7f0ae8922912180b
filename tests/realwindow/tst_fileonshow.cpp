// The file on show in the built program on a real X server (Xvfb with openbox), driven with
// xdotool: the list's selection, the file label and the preview never disagree, whatever
// re-reads the folder.
#include "XSession.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using zelvo::realwindow::near;
using zelvo::realwindow::WindowId;
using zelvo::realwindow::XSession;

namespace {

const QSize MainSize(497, 432);
const QSize AboutSize(315, 306);
const QRgb Navy = qRgb(0x00, 0x00, 0x40);
// Places in the main window's client area, in pixels.
const QPoint BrowseButton(233 + 12, 152 + 12);
const QPoint TitleArtwork(249, 24);
// Inside the preview's border, and the file label with room for a second line.
const QRect PreviewPicture(305, 97, 132, 132);
const QRect FileLabel(48, 256, 393, 26);

const QRgb FileText = qRgb(0x05, 0xA9, 0x81);
constexpr int WaitMs = 10000;

int countNear(const QImage& image, QRgb colour, int tolerance = 8)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += near(image.pixel(x, y), colour, tolerance) ? 1 : 0;
    }
    return count;
}

} // namespace

class FileOnShowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_session.reset(); }
    void vanishedFileLeavesNothingOnShow_data();
    void vanishedFileLeavesNothingOnShow();

private:
    [[nodiscard]] QRect on(const QRect& client) const
    {
        return client.translated(m_session->geometry(m_main).value_or(QRect()).topLeft());
    }
    [[nodiscard]] QImage shot(const QRect& client) const
    {
        return m_session->screenshot().copy(on(client));
    }
    [[nodiscard]] bool previewEmpty() const
    {
        const QImage preview = shot(PreviewPicture);
        return countNear(preview, Navy) == preview.width() * preview.height();
    }
    void browseTo(const QString& folder);
    void closeAboutBox();

    std::unique_ptr<XSession> m_session;
    QTemporaryDir m_folder;
    WindowId m_main = 0;
};

// The program starts on a picture given on its command line: listed, selected and previewed.
void FileOnShowTest::init()
{
    QVERIFY(m_folder.isValid());
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(QDir(m_folder.path()).filePath(QStringLiteral("red.bmp"))));
    // The folder still lists a picture once the red one is gone, so that no message covers
    // the window.
    red.fill(Qt::blue);
    QVERIFY(red.save(QDir(m_folder.path()).filePath(QStringLiteral("blue.bmp"))));
    m_session = std::make_unique<XSession>();
    if (const QString failure = m_session->start(); !failure.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no X display for real-window tests: ") + failure));
    QCOMPARE(m_session->startWindowManager(), QString());
    QCOMPARE(m_session->startProgram(QString::fromLocal8Bit(ZELVO_BINARY),
                                     {QDir(m_folder.path()).filePath(QStringLiteral("red.bmp"))}),
             QString());
    const auto main = m_session->waitForWindow(
        [&](WindowId window) {
            return m_session->geometry(window).value_or(QRect()).size() == MainSize;
        },
        20000);
    QVERIFY2(main, qPrintable(QStringLiteral("no main window: ") + m_session->programOutput()));
    m_main = *main;
}

void FileOnShowTest::browseTo(const QString& folder)
{
    QVERIFY(m_session->click(on(QRect(BrowseButton, QSize(1, 1))).topLeft()));
    const auto dialog = m_session->waitForWindow([&](WindowId window) {
        return m_session->title(window).startsWith(QLatin1String("Find Directory"));
    });
    QVERIFY2(dialog, "the Browse button opened no folder dialog");
    QVERIFY(m_session->activate(*dialog));
    QVERIFY(m_session->key(QStringLiteral("ctrl+a")));
    QVERIFY(m_session->typeText(folder));
    QVERIFY(m_session->key(QStringLiteral("Return")));
    QVERIFY2(XSession::waitUntil([&] { return !m_session->isViewable(*dialog); }, WaitMs),
             "the folder dialog did not close after Return");
}

// Returning from the about box makes the main window active again, which re-reads the folder.
void FileOnShowTest::closeAboutBox()
{
    QVERIFY(m_session->click(on(QRect(TitleArtwork, QSize(1, 1))).topLeft()));
    const auto about = m_session->waitForWindow([&](WindowId window) {
        return m_session->geometry(window).value_or(QRect()).size() == AboutSize;
    });
    QVERIFY2(about, "a click on the title artwork showed no about box");
    const QRect area = m_session->geometry(*about).value_or(QRect());
    QVERIFY(m_session->click(area.topLeft() + QPoint(3, 150)));
    QVERIFY2(XSession::waitUntil([&] { return !m_session->isViewable(*about); }, WaitMs),
             "a click on the about box did not close it");
}

void FileOnShowTest::vanishedFileLeavesNothingOnShow_data()
{
    QTest::addColumn<bool>("browse");
    QTest::newRow("Browse to the same folder") << true;
    QTest::newRow("the main window active again") << false;
}

// A re-read that no longer lists the selected file leaves the label and the preview empty, as a
// folder change does, and a press on the preview then asks for a file with nothing on show.
void FileOnShowTest::vanishedFileLeavesNothingOnShow()
{
    QFETCH(bool, browse);
    QVERIFY2(XSession::waitUntil(
                 [&] {
                     return countNear(shot(PreviewPicture), qRgb(255, 0, 0)) >
                            PreviewPicture.width();
                 },
                 WaitMs),
             "the picture given on the command line is not previewed");
    QVERIFY2(countNear(shot(FileLabel), FileText, 24) > 0, "the file label shows no path");

    QVERIFY(QFile::remove(QDir(m_folder.path()).filePath(QStringLiteral("red.bmp"))));
    if (browse)
        browseTo(m_folder.path());
    else
        closeAboutBox();
    QVERIFY2(XSession::waitUntil([&] { return previewEmpty(); }, WaitMs),
             "the preview still shows the file that is gone");
    QVERIFY2(countNear(shot(FileLabel), FileText, 24) == 0,
             "the file label still shows the file that is gone");
}

QTEST_GUILESS_MAIN(FileOnShowTest)
#include "tst_fileonshow.moc"
