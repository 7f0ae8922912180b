// What the user sees of each window when it first shows: the texts and tool tips of its
// controls, and the colours of its ground, frames, lines and texts read from the rendered
// window. The expected values are written here, not taken from the program's layouts.

#include "about/About.h"
#include "settings/Form3.h"
#include "support/MainWindowDriver.h"
#include "ui/TrayIcon.h"

#include <QAbstractButton>
#include <QLabel>
#include <QtTest>

using namespace zelvo;

namespace {

// A started program with the options window and the about box shown beside the main window.
struct Shown : test::Session
{
    Shown()
    {
        startShown();
        windows.get<Form3>().show();
        windows.get<About>().show();
    }

    QWidget& window(const QString& name)
    {
        if (name == QLatin1String("Form2"))
            return windows.get<Form2>();
        if (name == QLatin1String("Form3"))
            return windows.get<Form3>();
        if (name == QLatin1String("About"))
            return windows.get<About>();
        return main();
    }
};

[[nodiscard]] QString shownText(const QWidget& widget)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    return {};
}

[[nodiscard]] int distance(QRgb a, QRgb b)
{
    return std::max(
        {qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))});
}

// Whether the area holds a pixel of the colour, give or take the smoothing at text edges.
[[nodiscard]] bool holdsColour(const QImage& image, const QRect& area, QRgb colour, int slack)
{
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (distance(image.pixel(x, y), colour) <= slack)
                return true;
        }
    }
    return false;
}

} // namespace

class TestAppearance : public QObject
{
    Q_OBJECT

private slots:
    void controlTexts_data();
    void controlTexts();
    void colours_data();
    void colours();
    void trayToolTip();
};

void TestAppearance::controlTexts_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");

    QTest::newRow("Labelimg") << "Form1"
                              << "Labelimg"
                              << "Image files"
                              << "";
    QTest::newRow("Labeldis") << "Form1"
                              << "Labeldis"
                              << "Preview Display"
                              << "";
    QTest::newRow("Display") << "Form1"
                             << "Display"
                             << ""
                             << "Click to tile";
    QTest::newRow("Opendir") << "Form1"
                             << "Opendir"
                             << ""
                             << "Select the image's directory";
    QTest::newRow("Lblbrws") << "Form1"
                             << "Lblbrws"
                             << "Browse"
                             << "";
    QTest::newRow("lblfile") << "Form1"
                             << "lblfile"
                             << ""
                             << "";
    QTest::newRow("main SoftBttn1") << "Form1"
                                    << "SoftBttn1"
                                    << ""
                                    << "Your choices here";
    QTest::newRow("SoftBttn2") << "Form1"
                               << "SoftBttn2"
                               << ""
                               << "";
    QTest::newRow("Out") << "Form1"
                         << "Out"
                         << "Exit"
                         << "Goodbye !";

    QTest::newRow("Zelvo") << "Form2"
                           << "Zelvo"
                           << ""
                           << "Click to return";
    QTest::newRow("Butprint") << "Form2"
                              << "Butprint"
                              << "Print"
                              << "";

    QTest::newRow("Label1") << "Form3"
                            << "Label1"
                            << "Select the size of the Zelvo's window. Check the box that fits "
                               "your screen and push Apply button to set the choice."
                            << "";
    QTest::newRow("Option1") << "Form3"
                             << "Option1"
                             << "Small"
                             << "";
    QTest::newRow("Option2") << "Form3"
                             << "Option2"
                             << "Medium"
                             << "";
    QTest::newRow("Option3") << "Form3"
                             << "Option3"
                             << "Large"
                             << "";
    QTest::newRow("Label3") << "Form3"
                            << "Label3"
                            << "Check the appropriate file types to enable them for browsing."
                            << "";
    QTest::newRow("Check1") << "Form3"
                            << "Check1"
                            << "Bitmap"
                            << "";
    QTest::newRow("Check2") << "Form3"
                            << "Check2"
                            << "Jpg"
                            << "";
    QTest::newRow("Check3") << "Form3"
                            << "Check3"
                            << "Gif"
                            << "";
    QTest::newRow("Check4") << "Form3"
                            << "Check4"
                            << "Ico"
                            << "";
    QTest::newRow("options SoftBttn1") << "Form3"
                                       << "SoftBttn1"
                                       << ""
                                       << "Apply the changes and exit";
    QTest::newRow("Label2") << "Form3"
                            << "Label2"
                            << "zelvo@zelvo.org"
                            << "Mail to me !";

    QTest::newRow("lblVersion") << "About"
                                << "lblVersion"
                                << "Version: 1.0"
                                << "";
    QTest::newRow("lblDisclaimer") << "About"
                                   << "lblDisclaimer"
                                   << "Copyright (C) 2026 The Zelvo authors"
                                   << "";
}

void TestAppearance::controlTexts()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    Shown program;
    const auto* widget = program.window(window).findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(shownText(*widget), text);
    QCOMPARE(widget->toolTip(), toolTip);
}

void TestAppearance::colours_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QRect>("area"); // in pixels of the client area
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<int>("slack"); // 0 for a ground or a line, a little for smoothed text

    const auto text = [](const QString& window, const char* name, QRect area, QRgb colour) {
        QTest::newRow(name) << window << area << colour << 6;
    };
    const auto pixel = [](const QString& window, const char* name, QPoint at, QRgb colour) {
        QTest::newRow(name) << window << QRect(at, QSize(1, 1)) << colour << 0;
    };

    pixel("Form1", "main ground", {4, 200}, 0x000040);
    pixel("Form1", "Shape1", {0, 200}, 0xFE9C61);
    pixel("Form1", "Shape2", {8, 200}, 0x6E6E6E);
    pixel("Form1", "Shape3", {24, 330}, 0x6E6E6E);
    text("Form1", "Labelimg", {48, 64, 77, 16}, 0xC04000);
    text("Form1", "Labeldis", {304, 64, 113, 16}, 0xC04000);
    text("Form1", "Lblbrws", {218, 192, 52, 16}, 0xF5C952);
    text("Form1", "Opendir face", {233, 152, 25, 25}, 0x474747);

    pixel("Form3", "options ground", {3, 3}, 0x474747);
    pixel("Form3", "Line1", {154, 12}, 0x6E6E6E);
    pixel("Form3", "Line3", {9, 75}, 0x6E6E6E);
    pixel("Form3", "Line5", {154, 138}, 0x000000);
    pixel("Form3", "Line7", {297, 75}, 0x000000);
    pixel("Form3", "Line9", {152, 20}, 0x000000);
    pixel("Form3", "Line13", {18, 47}, 0x000000);
    pixel("Form3", "Line11", {20, 74}, 0x6E6E6E);
    pixel("Form3", "Line14", {287, 47}, 0x6E6E6E);
    pixel("Form3", "Line2", {154, 148}, 0x6E6E6E);
    pixel("Form3", "Line4", {9, 194}, 0x6E6E6E);
    pixel("Form3", "Line6", {154, 240}, 0x000000);
    pixel("Form3", "Line8", {297, 194}, 0x000000);
    pixel("Form3", "Line10", {154, 156}, 0x000000);
    pixel("Form3", "Line15", {18, 177}, 0x000000);
    pixel("Form3", "Line12", {20, 198}, 0x6E6E6E);
    pixel("Form3", "Line16", {287, 177}, 0x6E6E6E);
    text("Form3", "Label1", {25, 26, 257, 49}, 0xFFFF80);
    text("Form3", "Label3", {21, 164, 255, 33}, 0xFFFF80);
    text("Form3", "Option2", {142, 92, 55, 33}, 0xFFFFFF);
    text("Form3", "Check3", {189, 208, 39, 25}, 0xFFFFFF);
    text("Form3", "Label2", {72, 304, 163, 16}, 0xFF0000);

    pixel("About", "about ground", {5, 300}, 0x000040);
    pixel("About", "about Shape1", {0, 150}, 0xFE9C61);
    text("About", "lblVersion", {116, 248, 83, 16}, 0x3CF2A9);
    text("About", "lblDisclaimer", {7, 272, 300, 16}, 0xFFFFFF);
}

void TestAppearance::colours()
{
    QFETCH(QString, window);
    QFETCH(QRect, area);
    QFETCH(QRgb, colour);
    QFETCH(int, slack);
    Shown program;
    const QImage shown = program.window(window).grab().toImage();
    QVERIFY2(holdsColour(shown, area, colour, slack),
             qPrintable(QStringLiteral("no %1 at %2,%3 (%4 there)")
                            .arg(QColor(colour).name())
                            .arg(area.x())
                            .arg(area.y())
                            .arg(shown.pixelColor(area.topLeft()).name())));
}

void TestAppearance::trayToolTip()
{
    Shown program;
    QCOMPARE(program.main().Tray->toolTip(), QStringLiteral("The Image Zelvo"));
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
