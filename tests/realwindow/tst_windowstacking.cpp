// Under openbox: the windows that block the main window stay above it whatever is clicked, and
// the main window dragged by its title keeps the point pressed under the pointer.
#include "XSession.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zelvo::realwindow;

class WindowStackingTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_session = std::make_unique<XSession>();
        if (const QString failure = m_session->start(); !failure.isEmpty())
            QSKIP(qPrintable(failure));
        QCOMPARE(m_session->startDesktop(), QString());
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Tiled);
        QVERIFY(picture.save(m_folder.filePath(QStringLiteral("t.bmp"))));
        QCOMPARE(m_session->startProgram(ZELVO_BINARY, {m_folder.filePath("t.bmp")}), QString());
        m_main = m_session->waitForWindow([&](WindowId w) { return area(w).height() == 432; });
        QVERIFY(m_main);
    }
    void blockingWindowsStayAboveTheMainWindow();
    void titleDragKeepsThePointPressedUnderThePointer();

private:
    static constexpr QRgb Tiled = 0xFFC828A0;
    [[nodiscard]] QRect area(WindowId window) const
    {
        return m_session->geometry(window).value_or(QRect());
    }
    // The colour at the point once the main window was clicked beside the window above it.
    [[nodiscard]] QRgb afterClickOnMain(QPoint point)
    {
        (void)m_session->click(area(*m_main).topLeft() + QPoint(10, 200));
        QTest::qWait(1000);
        return m_session->screenshot().pixel(point);
    }

    std::unique_ptr<XSession> m_session;
    std::optional<WindowId> m_main;
    QTemporaryDir m_folder;
};

void WindowStackingTest::blockingWindowsStayAboveTheMainWindow()
{
    QVERIFY(m_session->click(area(*m_main).topLeft() + QPoint(240, 24)));
    const auto about = m_session->waitForWindow([&](WindowId w) { return area(w).width() == 315; });
    QVERIFY2(about, "a click on the title artwork showed no about box");
    const QPoint corner = area(*about).topLeft();
    QVERIFY2(afterClickOnMain(corner) == 0xFFFE9C61, "the main window hides the about box");
    QVERIFY(m_session->click(corner + QPoint(3, 150)));
    QVERIFY(XSession::waitUntil([&] { return !m_session->isViewable(*about); }, 10000));

    // In the screen's corner the main window shows beside the centred tile window.
    QVERIFY(m_session->tool("xdotool", {"windowmove", QString::number(*m_main), "0", "0"}));
    QVERIFY(XSession::waitUntil([&] { return area(*m_main).topLeft().isNull(); }, 10000));
    QVERIFY(m_session->click(QPoint(370, 160)));
    const auto tile = m_session->waitForWindow([&](WindowId w) { return area(w).width() > 600; });
    QVERIFY2(tile, "a press on the preview showed no tile window");
    const QPoint overlap = area(*tile).topLeft() + QPoint(20, 20);
    QVERIFY(XSession::waitUntil([&] { return m_session->screenshot().pixel(overlap) == Tiled; },
                                10000));
    QVERIFY2(afterClickOnMain(overlap) == Tiled, "the main window hides the tile window");
}

// Dragged in steps of 20 pixels, the window follows the pointer from the first step on.
void WindowStackingTest::titleDragKeepsThePointPressedUnderThePointer()
{
    const QPoint pressed(500, 320);
    const QPoint expected = area(*m_main).topLeft() + QPoint(-300, -170);
    QVERIFY(m_session->moveMouse(pressed) && m_session->mouseDown());
    for (int step = 1; step <= 15; ++step)
        QVERIFY(m_session->moveMouse(pressed + QPoint(-300, -170) * step / 15));
    QVERIFY(m_session->mouseUp());
    QVERIFY(XSession::waitUntil([&] { return area(*m_main).topLeft() == expected; }, 10000));
}

QTEST_GUILESS_MAIN(WindowStackingTest)
#include "tst_windowstacking.moc"
