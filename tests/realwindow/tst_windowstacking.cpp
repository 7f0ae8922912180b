// The program's windows on a real X server with openbox, as a user meets them: the windows that
// block the main window stay above it whatever is clicked, and the main window dragged by its
// title keeps the point pressed under the pointer.
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
const QRgb LightOrange = qRgb(0xFE, 0x9C, 0x61);
const QRgb Tiled = qRgb(0xC8, 0x28, 0xA0);
// The main window's ground left of the about box and the tile window, in its client area.
const QPoint MainGround(10, 200);
constexpr int WaitMs = 10000;

} // namespace

class WindowStackingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_session.reset(); }
    void aboutBoxStaysAboveTheMainWindow();
    void tileWindowStaysAboveTheMainWindow();
    void titleDragKeepsThePointPressedUnderThePointer();

private:
    void start(const QStringList& arguments = {});
    [[nodiscard]] std::optional<WindowId> windowOfSize(const QSize& size) const
    {
        return m_session->waitForWindow([&](WindowId window) {
            return m_session->geometry(window).value_or(QRect()).size() == size;
        });
    }
    [[nodiscard]] QRect mainArea() const { return m_session->geometry(m_main).value_or(QRect()); }
    // Clicks the main window outside the window above it; after the window manager had its say,
    // the screen.
    [[nodiscard]] QImage clickMainWindow()
    {
        if (!m_session->click(mainArea().topLeft() + MainGround))
            return {};
        QTest::qWait(1000);
        return m_session->screenshot();
    }

    std::unique_ptr<XSession> m_session;
    WindowId m_main = 0;
    QTemporaryDir m_folder;
};

void WindowStackingTest::init()
{
    m_session = std::make_unique<XSession>();
    if (const QString failure = m_session->start(); !failure.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no X display for real-window tests: ") + failure));
    QCOMPARE(m_session->startDesktop(), QString());
}

void WindowStackingTest::start(const QStringList& arguments)
{
    QCOMPARE(m_session->startProgram(QStringLiteral(ZELVO_BINARY), arguments), QString());
    const std::optional<WindowId> main = windowOfSize(MainSize);
    QVERIFY2(main, qPrintable(m_session->programOutput()));
    m_main = *main;
}

void WindowStackingTest::aboutBoxStaysAboveTheMainWindow()
{
    start();
    QVERIFY(m_session->click(mainArea().topLeft() + QPoint(240, 24)));
    const std::optional<WindowId> about = windowOfSize(AboutSize);
    QVERIFY2(about, "a click on the title artwork showed no about box");
    const QRect box = m_session->geometry(*about).value_or(QRect());
    const QImage screen = clickMainWindow();
    for (const QPoint corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
        QVERIFY2(screen.pixel(corner) == LightOrange, "the main window hides the about box");
    // The box still takes its click, and the main window its input after it.
    QVERIFY(m_session->click(box.topLeft() + QPoint(3, 150)));
    QVERIFY(XSession::waitUntil([&] { return !m_session->isViewable(*about); }, WaitMs));
}

void WindowStackingTest::tileWindowStaysAboveTheMainWindow()
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Tiled);
    const QString path = QDir(m_folder.path()).filePath(QStringLiteral("tile.bmp"));
    QVERIFY(picture.save(path));
    start({path});
    // In the top-left corner the main window shows beside the centred tile window.
    QVERIFY(m_session->tool(QStringLiteral("xdotool"),
                            {"windowmove", QString::number(m_main), "0", "0"}));
    QVERIFY(XSession::waitUntil([&] { return mainArea().topLeft() == QPoint(0, 0); }, WaitMs));
    QVERIFY(m_session->click(mainArea().topLeft() + QPoint(370, 160)));
    const std::optional<WindowId> tile = m_session->waitForWindow([&](WindowId window) {
        return window != m_main && m_session->title(window) == QLatin1String("Zelvo");
    });
    QVERIFY2(tile, "a press on the preview showed no tile window");
    const QRect client = m_session->geometry(*tile).value_or(QRect());
    const QPoint overlap = client.topLeft() + QPoint(20, 20);
    QVERIFY(mainArea().contains(overlap));
    QVERIFY(XSession::waitUntil(
        [&] { return near(m_session->screenshot().pixel(overlap), Tiled, 8); }, WaitMs));
    QVERIFY2(near(clickMainWindow().pixel(overlap), Tiled, 8), "the main window hides the tiles");
}

// Pressed on the title and dragged in steps of 20 pixels, the window follows the pointer from
// the first step on.
void WindowStackingTest::titleDragKeepsThePointPressedUnderThePointer()
{
    start();
    const QPoint pressed(500, 320);
    const QPoint before = mainArea().topLeft();
    QVERIFY(mainArea().contains(pressed));
    QVERIFY(m_session->moveMouse(pressed));
    QVERIFY(m_session->mouseDown());
    const QPoint path(-300, -170);
    for (int step = 1; step <= 15; ++step)
        QVERIFY(m_session->moveMouse(pressed + path * step / 15));
    QVERIFY(m_session->mouseUp());
    const QPoint expected = before + path;
    QPoint now;
    const bool followed =
        XSession::waitUntil([&] { return (now = mainArea().topLeft()) == expected; }, WaitMs);
    QVERIFY2(followed, qPrintable(QStringLiteral("the window is at (%1,%2), not (%3,%4)")
                                      .arg(now.x())
                                      .arg(now.y())
                                      .arg(expected.x())
                                      .arg(expected.y())));
}

QTEST_GUILESS_MAIN(WindowStackingTest)
#include "tst_windowstacking.moc"
