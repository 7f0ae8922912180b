// The built program on a real X server (Xvfb with openbox), driven with xdotool: the selected
// file, the file label and the preview never disagree, whatever reads the folder again.
#include "XSession.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using zelvo::realwindow::near;
using zelvo::realwindow::WindowId;
using zelvo::realwindow::XSession;

namespace {

const QSize MainSize(497, 432);
const QSize AboutSize(315, 306);
// Places in the main window's client area: the preview inside its border, and the file label
// with room for a second line.
const QPoint BrowseButton(245, 164);
const QPoint TitleArtwork(249, 24);
const QRect PreviewPicture(305, 97, 132, 132);
const QRect FileLabel(48, 256, 393, 26);
const QRgb FileText = qRgb(0x05, 0xA9, 0x81);
constexpr int WaitMs = 10000;

int countNear(const QImage& image, QRgb colour, int tolerance)
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
    void cleanup() { m_session.reset(); }
    void vanishedFileLeavesNothingOnShow_data();
    void vanishedFileLeavesNothingOnShow();

private:
    [[nodiscard]] QPoint on(QPoint client) const
    {
        return client + m_session->geometry(m_main).value_or(QRect()).topLeft();
    }
    // How many pixels of the area are near the colour.
    [[nodiscard]] int shown(const QRect& area, QRgb colour, int tolerance) const
    {
        return countNear(m_session->screenshot().copy(area.translated(on({}))), colour, tolerance);
    }
    [[nodiscard]] std::optional<WindowId> window(const std::function<bool(WindowId)>& test) const
    {
        return m_session->waitForWindow(test);
    }

    std::unique_ptr<XSession> m_session;
    WindowId m_main = 0;
};

void FileOnShowTest::vanishedFileLeavesNothingOnShow_data()
{
    QTest::addColumn<bool>("browse");
    QTest::newRow("Browse to the same folder") << true;
    QTest::newRow("the main window active again") << false;
}

// The program starts on a red picture given on its command line, beside a blue one that keeps
// the folder listed; the red one is deleted. A re-read then leaves the label and the preview
// empty, as a folder change does.
void FileOnShowTest::vanishedFileLeavesNothingOnShow()
{
    QFETCH(bool, browse);
    QTemporaryDir folder;
    QImage picture(40, 40, QImage::Format_RGB32);
    const std::pair<const char*, Qt::GlobalColor> pictures[] = {{"red.bmp", Qt::red},
                                                                {"blue.bmp", Qt::blue}};
    for (const auto& [name, colour] : pictures) {
        picture.fill(colour);
        QVERIFY(picture.save(folder.filePath(QLatin1String(name))));
    }
    m_session = std::make_unique<XSession>();
    if (const QString failure = m_session->start(); !failure.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no X display for real-window tests: ") + failure));
    QCOMPARE(m_session->startWindowManager(), QString());
    QCOMPARE(m_session->startProgram(QString::fromLocal8Bit(ZELVO_BINARY),
                                     {folder.filePath(QStringLiteral("red.bmp"))}),
             QString());
    const auto main = window(
        [&](WindowId id) { return m_session->geometry(id).value_or(QRect()).size() == MainSize; });
    QVERIFY2(main, qPrintable(QStringLiteral("no main window: ") + m_session->programOutput()));
    m_main = *main;
    QVERIFY2(XSession::waitUntil([&] { return shown(PreviewPicture, qRgb(255, 0, 0), 8) > 1000; },
                                 WaitMs),
             "the picture given on the command line is not previewed");
    QVERIFY2(shown(FileLabel, FileText, 24) > 0, "the file label shows no path");

    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("red.bmp"))));
    if (browse) {
        QVERIFY(m_session->click(on(BrowseButton)));
        const auto dialog = m_session->waitForFolderDialog();
        QVERIFY2(dialog, "the Browse button opened no folder dialog");
        const QString chosen = m_session->chooseInFolderDialog(*dialog, folder.path());
        QVERIFY2(chosen.isEmpty(), qPrintable(chosen));
    } else {
        // The about box closed, the main window is the active one again.
        QVERIFY(m_session->click(on(TitleArtwork)));
        const auto about = window([&](WindowId id) {
            return m_session->geometry(id).value_or(QRect()).size() == AboutSize;
        });
        QVERIFY2(about, "a click on the title artwork showed no about box");
        QVERIFY(m_session->click(m_session->geometry(*about)->topLeft() + QPoint(3, 150)));
    }
    QVERIFY2(XSession::waitUntil(
                 [&] {
                     return shown(PreviewPicture, qRgb(0, 0, 0x40), 8) ==
                            PreviewPicture.width() * PreviewPicture.height();
                 },
                 WaitMs),
             "the preview still shows the file that is gone");
    QVERIFY2(shown(FileLabel, FileText, 24) == 0,
             "the file label still shows the file that is gone");
}

QTEST_GUILESS_MAIN(FileOnShowTest)
#include "tst_fileonshow.moc"
