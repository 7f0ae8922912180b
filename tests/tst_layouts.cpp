// Layout faults: controls outside their window, wrong window frames and sizes, a keyboard
// order that does not follow the declared tab indices, labels and pictures that take focus
// without running a command, labels that size wrongly, a preview that does not fill its box,
// and Enter not reaching the default button. And what the user sees of each window when it
// first shows: the texts, tool tips and places of its controls, and the colours of its ground,
// frames, lines and texts read from the rendered window, the expected values written here
// rather than taken from the program's layouts.

#include "about/AboutBox.h"
#include "app/MainWindow.h"
#include "app/WindowRegistry.h"
#include "layouts/Layout.h"
#include "layouts/Layouts.h"
#include "settings/OptionsWindow.h"
#include "settings/SettingsStore.h"
#include "support/DataTable.h"
#include "support/MainWindowDriver.h"
#include "tile/TileWindow.h"
#include "widgets/AutoLabel.h"
#include "widgets/ControlFactory.h"
#include "widgets/FileListBox.h"
#include "widgets/PictureBox.h"
#include "widgets/TrayIcon.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace zelvo;

namespace {

[[nodiscard]] bool hasArea(const layout::Control& control)
{
    return control.place.width > 0 && control.place.height > 0;
}

[[nodiscard]] QRect clientArea(const layout::Window& window)
{
    return {0, 0, layout::pixels(window.clientWidth), layout::pixels(window.clientHeight)};
}

// Labels and pictures are on the keyboard's way only when they run a command.
[[nodiscard]] bool onKeyboardWay(const layout::Control& control)
{
    const bool passive = control.kind == layout::Kind::Label ||
                         control.kind == layout::Kind::Picture ||
                         control.kind == layout::Kind::TilingImage;
    return control.tabIndex >= 0 && control.kind != layout::Kind::Shape &&
           (!passive || control.command);
}

// The focusable controls in their declared tab order.
[[nodiscard]] QStringList declaredTabOrder(const layout::Window& window)
{
    std::vector<const layout::Control*> ordered;
    for (const layout::Control& control : window.controls) {
        if (onKeyboardWay(control))
            ordered.push_back(&control);
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    QStringList names;
    for (const layout::Control* control : ordered)
        names.append(QLatin1String(control->name));
    return names;
}

// The order Tab visits the window's controls, from its first declared one, by the focus chain.
[[nodiscard]] QStringList focusChain(QWidget& window, const QString& first)
{
    QStringList names;
    QWidget* start = window.findChild<QWidget*>(first);
    if (!start)
        return names;
    QWidget* widget = start;
    do {
        if (widget != &window && window.isAncestorOf(widget) &&
            (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled())
            names.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget && widget != start);
    return names;
}

[[nodiscard]] const layout::Window& declaredWindow(const QString& name)
{
    if (name == QLatin1String("Form2"))
        return layout::TileWindowLayout;
    if (name == QLatin1String("Form3"))
        return layout::OptionsWindowLayout;
    if (name == QLatin1String("About"))
        return layout::AboutBoxLayout;
    return layout::MainWindowLayout;
}

// A running program on an empty per-user store.
struct Program : test::Session
{
    Program() { windows.start(); }
};

// A started program with the options window and the about box shown beside the main window.
struct Shown : test::Session
{
    Shown()
    {
        startShown();
        windows.get<OptionsWindow>().show();
        windows.get<AboutBox>().show();
    }
};

// The class that shows a control of each kind built as a widget.
[[nodiscard]] const char* classOf(const layout::Control& control)
{
    switch (control.kind) {
    case layout::Kind::Label:
        return control.command ? "zelvo::LinkLabel" : "zelvo::AutoLabel";
    case layout::Kind::Picture:
        return control.command ? "zelvo::PictureBox" : "QLabel";
    case layout::Kind::FileList:
        return "zelvo::FileListBox";
    case layout::Kind::PushButton:
    case layout::Kind::GraphicalButton:
        return "QPushButton";
    case layout::Kind::ImageButton:
        return "zelvo::ImagePushButton";
    case layout::Kind::CheckBox:
        return "zelvo::TriStateBox";
    case layout::Kind::OptionButton:
        return "QRadioButton";
    case layout::Kind::TilingImage:
        return "zelvo::TilingImage";
    case layout::Kind::Shape:
    case layout::Kind::TrayIcon:
    case layout::Kind::FolderChooser:
        break;
    }
    return nullptr;
}

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

class TestLayouts : public QObject
{
    Q_OBJECT

private slots:
    void declaredControlsInsideClientArea_data();
    void declaredControlsInsideClientArea();
    void builtControlsInsideWindow_data();
    void builtControlsInsideWindow();

    void everyDeclaredControlIsBuiltWithItsKind_data();
    void everyDeclaredControlIsBuiltWithItsKind();
    void wrongNameOrKindFailsAtOnce_data();
    void wrongNameOrKindFailsAtOnce();

    void controlsAsShown_data();
    void controlsAsShown();
    void colours_data();
    void colours();
    void trayToolTip();

    void mainWindowSizeAndFrame();
    void optionsAndAboutFrames();
    void mailLinkShowsThePointingHand();

    void tabOrderFollowsDeclaredIndices_data();
    void tabOrderFollowsDeclaredIndices();
    void labelsAndPicturesTakeFocusOnlyAsCommands_data();
    void labelsAndPicturesTakeFocusOnlyAsCommands();

    void fileLabelWrapsWithinItsWidth();
    void countLabelGrowsToTheRight();
    void hiddenWindowsFitTheirLabelsWhenShown();
    void firstStartWritesSettingsOnceShown();
    void previewStretchesAnyPicture_data();
    void previewStretchesAnyPicture();

    void enterInFileListBrowses();
    void enterOnAnotherButtonPressesThatButton();
};

void TestLayouts::declaredControlsInsideClientArea_data()
{
    test::addRows<QString>(
        "window", {{"main window", "Form1"}, {"options window", "Form3"}, {"about box", "About"}});
}

void TestLayouts::declaredControlsInsideClientArea()
{
    QFETCH(QString, window);
    const layout::Window& declared = declaredWindow(window);
    const QRect client = clientArea(declared);
    QVERIFY(!declared.controls.empty());
    for (const layout::Control& control : declared.controls) {
        if (!hasArea(control))
            continue;
        const QRect place = layout::pixels(control.place);
        QVERIFY2(client.contains(place),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 is outside %6x%7")
                                .arg(QLatin1String(control.name))
                                .arg(place.x())
                                .arg(place.y())
                                .arg(place.width())
                                .arg(place.height())
                                .arg(client.width())
                                .arg(client.height())));
    }
    for (const layout::Line& line : declared.lines) {
        QVERIFY2(client.contains(layout::pixels(line.x1), layout::pixels(line.y1)) &&
                     client.contains(layout::pixels(line.x2), layout::pixels(line.y2)),
                 line.name);
    }
}

void TestLayouts::builtControlsInsideWindow_data()
{
    declaredControlsInsideClientArea_data();
}

void TestLayouts::builtControlsInsideWindow()
{
    QFETCH(QString, window);
    Program program;
    QWidget& built = test::windowNamed(program.windows, window);
    const layout::Window& declared = declaredWindow(window);
    QCOMPARE(built.size(), clientArea(declared).size());

    int checked = 0;
    for (const layout::Control& control : declared.controls) {
        if (!hasArea(control) || control.kind == layout::Kind::Shape)
            continue;
        const auto* widget = built.findChild<QWidget*>(QLatin1String(control.name));
        QVERIFY2(widget, control.name);
        QVERIFY2(widget->parentWidget() == &built, control.name);
        const QRect geometry = widget->geometry();
        QVERIFY2(built.rect().contains(geometry),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 is outside the window")
                                .arg(QLatin1String(control.name))
                                .arg(geometry.x())
                                .arg(geometry.y())
                                .arg(geometry.width())
                                .arg(geometry.height())));
        QVERIFY2(!geometry.isEmpty() || control.kind == layout::Kind::Label, control.name);
        ++checked;
    }
    QVERIFY(checked > 0);
}

void TestLayouts::everyDeclaredControlIsBuiltWithItsKind_data()
{
    declaredControlsInsideClientArea_data();
    QTest::newRow("tile window") << "Form2";
}

void TestLayouts::everyDeclaredControlIsBuiltWithItsKind()
{
    QFETCH(QString, window);
    Program program;
    const QWidget& built = test::windowNamed(program.windows, window);
    int checked = 0;
    for (const layout::Control& control : declaredWindow(window).controls) {
        const char* expected = classOf(control);
        if (!expected)
            continue;
        const auto* widget = built.findChild<QWidget*>(QLatin1String(control.name));
        QVERIFY2(widget, control.name);
        QCOMPARE(widget->metaObject()->className(), expected);
        ++checked;
    }
    QVERIFY(checked > 0);
}

void TestLayouts::wrongNameOrKindFailsAtOnce_data()
{
    test::addColumns<QString, QString, QString>("window", "name", "message");
    QTest::newRow("misspelt name") << "Form1"
                                   << "Labelimgg"
                                   << "Form1 declares no control named \"Labelimgg\"";
    QTest::newRow("check box built as a label")
        << "Form3"
        << "Check1"
        << "Form3 declares \"Check1\" a check box, not a label";
    QTest::newRow("shape built as a label") << "Form1"
                                            << "Shape1"
                                            << "Form1 declares \"Shape1\" a shape, not a label";
}

void TestLayouts::wrongNameOrKindFailsAtOnce()
{
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QWidget parent;
    try {
        (void)controls::label(parent, declaredWindow(window), qPrintable(name));
        QFAIL("the label was built");
    } catch (const std::logic_error& fault) {
        QCOMPARE(QString::fromUtf8(fault.what()), message);
    }
    QVERIFY(parent.children().isEmpty());
}

void TestLayouts::controlsAsShown_data()
{
    // At the top-left corner, in pixels of the client area.
    test::addColumns<QString, QString, QPoint, QString, QString>("window", "control", "at", "text",
                                                                 "toolTip");

    const auto row = [](const char* window, const char* control, QPoint at, const char* text,
                        const char* toolTip, const char* name = nullptr) {
        QTest::newRow(name ? name : control)
            << QString::fromLatin1(window) << QString::fromLatin1(control) << at
            << QString::fromLatin1(text) << QString::fromLatin1(toolTip);
    };

    row("Form1", "Labelimg", {48, 64}, "Image files", "");
    row("Form1", "Labeldis", {304, 64}, "Preview Display", "");
    row("Form1", "Display", {304, 96}, "", "Click to tile");
    row("Form1", "Opendir", {233, 152}, "", "Select the image's directory");
    row("Form1", "Lblbrws", {218, 192}, "Browse", "");
    row("Form1", "lblfile", {48, 256}, "", "");
    row("Form1", "SoftBttn1", {40, 332}, "", "Your choices here", "main SoftBttn1");
    row("Form1", "SoftBttn2", {384, 332}, "", "");
    row("Form1", "Out", {206, 385}, "Exit", "Goodbye !");

    row("Form2", "Zelvo", {0, 0}, "", "Click to return");
    // Moved from its declared place by the medium size the empty store chooses.
    row("Form2", "Butprint", {376, 480}, "Print", "");

    row("Form3", "Label1", {25, 26},
        "Select the size of the Zelvo's window. Check the box that fits your screen and push "
        "Apply button to set the choice.",
        "");
    row("Form3", "Option1", {32, 92}, "Small", "");
    row("Form3", "Option2", {124, 92}, "Medium", "");
    row("Form3", "Option3", {224, 92}, "Large", "");
    row("Form3", "Label3", {21, 164},
        "Check the appropriate file types to enable them for browsing.", "");
    row("Form3", "Check1", {32, 208}, "Bitmap", "");
    row("Form3", "Check2", {101, 208}, "Jpg", "");
    row("Form3", "Check3", {171, 208}, "Gif", "");
    row("Form3", "Check4", {240, 208}, "Ico", "");
    row("Form3", "Check5", {32, 233}, "Png", "");
    row("Form3", "Check6", {101, 233}, "Webp", "");
    row("Form3", "Check7", {171, 233}, "Tiff", "");
    row("Form3", "Check8", {240, 233}, "Svg", "");
    row("Form3", "SoftBttn1", {120, 281}, "", "Apply the changes and exit", "options SoftBttn1");
    row("Form3", "Label2", {72, 329}, "zelvo@zelvo.org", "Mail to me !");

    row("About", "lblVersion", {116, 248}, "Version: 1.0", "");
    row("About", "lblDisclaimer", {7, 272}, "Copyright (C) 2026 The Zelvo authors", "");
}

void TestLayouts::controlsAsShown()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QPoint, at);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    Shown program;
    const auto* widget = test::windowNamed(program.windows, window).findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(widget->pos(), at);
    QCOMPARE(shownText(*widget), text);
    QCOMPARE(widget->toolTip(), toolTip);
}

void TestLayouts::colours_data()
{
    // The area in pixels of the client area; the slack 0 for a ground or a line, a little for
    // smoothed text.
    test::addColumns<QString, QRect, QRgb, int>("window", "area", "colour", "slack");

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
    pixel("Form3", "Line6", {154, 265}, 0x000000);
    pixel("Form3", "Line8", {297, 260}, 0x000000);
    pixel("Form3", "Line10", {154, 156}, 0x000000);
    pixel("Form3", "Line15", {18, 177}, 0x000000);
    pixel("Form3", "Line12", {20, 198}, 0x6E6E6E);
    pixel("Form3", "Line16", {287, 177}, 0x6E6E6E);
    text("Form3", "Label1", {25, 26, 257, 49}, 0xFFFF80);
    text("Form3", "Label3", {21, 164, 255, 33}, 0xFFFF80);
    text("Form3", "Option2", {142, 92, 55, 33}, 0xFFFFFF);
    text("Form3", "Check3", {189, 208, 39, 25}, 0xFFFFFF);
    text("Form3", "Label2", {72, 329, 163, 16}, 0xFF0000);

    pixel("About", "about ground", {5, 300}, 0x000040);
    pixel("About", "about Shape1", {0, 150}, 0xFE9C61);
    text("About", "lblVersion", {116, 248, 83, 16}, 0x3CF2A9);
    text("About", "lblDisclaimer", {7, 272, 300, 16}, 0xFFFFFF);
}

void TestLayouts::colours()
{
    QFETCH(QString, window);
    QFETCH(QRect, area);
    QFETCH(QRgb, colour);
    QFETCH(int, slack);
    Shown program;
    const QImage shown = test::windowNamed(program.windows, window).grab().toImage();
    QVERIFY2(holdsColour(shown, area, colour, slack),
             qPrintable(QStringLiteral("no %1 at %2,%3 (%4 there)")
                            .arg(QColor(colour).name())
                            .arg(area.x())
                            .arg(area.y())
                            .arg(shown.pixelColor(area.topLeft()).name())));
}

void TestLayouts::trayToolTip()
{
    Shown program;
    QCOMPARE(ui(program.main()).tray->toolTip(), QStringLiteral("The Image Zelvo"));
}

void TestLayouts::mainWindowSizeAndFrame()
{
    Program program;
    MainWindow& main = program.main();
    QCOMPARE(main.size(), QSize(497, 432));
    QCOMPARE(main.minimumSize(), QSize(497, 432));
    QCOMPARE(main.maximumSize(), QSize(497, 432));
    QVERIFY(main.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(main.isWindow());
    QVERIFY(main.isVisible());
    QCOMPARE(main.windowTitle(), QString());
    QCOMPARE(main.palette().color(QPalette::Window), QColor(0x00, 0x00, 0x40));
}

// The pointing hand is the declared cursor picture with its hot spot on the fingertip, beside
// the declared mail icon.
void TestLayouts::mailLinkShowsThePointingHand()
{
    Program program;
    OptionsWindow& options = program.windows.get<OptionsWindow>();
    options.show();
    QVERIFY(QTest::qWaitForWindowExposed(&options));
    const QCursor cursor = options.mailLink->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(12, 1));
    QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
    QCOMPARE(options.mailIcon->pixmap().deviceIndependentSize().toSize(), QSize(32, 32));
}

void TestLayouts::optionsAndAboutFrames()
{
    Program program;
    OptionsWindow& options = program.windows.get<OptionsWindow>();
    QCOMPARE(options.windowTitle(), QStringLiteral("Options"));
    const Qt::WindowFlags flags = options.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
    QCOMPARE(options.size(), QSize(306, 358));
    QCOMPARE(options.minimumSize(), options.maximumSize());
    QVERIFY(!options.isVisible());

    AboutBox& about = program.windows.get<AboutBox>();
    QVERIFY(about.isWindow());
    QVERIFY(about.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(about.size(), QSize(315, 306));
    QVERIFY(!about.isVisible());
}

void TestLayouts::tabOrderFollowsDeclaredIndices_data()
{
    test::addColumns<QString, QStringList>("window", "expected");

    QTest::newRow("main window") << "Form1"
                                 << QStringList{"Out",       "Opendir", "Files", "SoftBttn2",
                                                "SoftBttn1", "Display", "Image1"};
    QTest::newRow("tile window") << "Form2" << QStringList{"Butprint", "Zelvo"};
    QTest::newRow("options window")
        << "Form3"
        << QStringList{"Label2", "SoftBttn1", "Option3", "Option2", "Option1", "Check4", "Check3",
                       "Check2", "Check1",    "Check5",  "Check6",  "Check7",  "Check8"};
    QTest::newRow("about box") << "About" << QStringList{"Abtimg"};
}

void TestLayouts::tabOrderFollowsDeclaredIndices()
{
    QFETCH(QString, window);
    QFETCH(QStringList, expected);
    QCOMPARE(declaredTabOrder(declaredWindow(window)), expected);

    Program program;
    QWidget& built = test::windowNamed(program.windows, window);
    QCOMPARE(focusChain(built, expected.first()), expected);
}

void TestLayouts::labelsAndPicturesTakeFocusOnlyAsCommands_data()
{
    test::addColumns<QString, QStringList>("window", "commands");
    QTest::newRow("main window") << "Form1" << QStringList{"Display", "Image1"};
    QTest::newRow("options window") << "Form3" << QStringList{"Label2"};
    QTest::newRow("about box") << "About" << QStringList{"Abtimg"};
}

void TestLayouts::labelsAndPicturesTakeFocusOnlyAsCommands()
{
    QFETCH(QString, window);
    QFETCH(QStringList, commands);
    Program program;
    QWidget& built = test::windowNamed(program.windows, window);
    QList<QWidget*> passive;
    for (AutoLabel* label : built.findChildren<AutoLabel*>())
        passive.append(label);
    for (PictureBox* picture : built.findChildren<PictureBox*>())
        passive.append(picture);
    QVERIFY(!passive.isEmpty());
    for (const QWidget* widget : passive) {
        if (widget->window() != &built)
            continue;
        const Qt::FocusPolicy expected =
            commands.contains(widget->objectName()) ? Qt::TabFocus : Qt::NoFocus;
        QVERIFY2(widget->focusPolicy() == expected, qPrintable(widget->objectName()));
    }
}

void TestLayouts::fileLabelWrapsWithinItsWidth()
{
    Program program;
    AutoLabel& label = *ui(program.main()).fileLabel;
    const QRect declared =
        layout::pixels(layout::control(layout::MainWindowLayout, "lblfile").place);
    QCOMPARE(label.pos(), declared.topLeft());
    QCOMPARE(label.width(), declared.width());

    label.setCaption(QStringLiteral("/home/someone/Pictures/a.bmp"));
    const int oneLine = label.height();
    QCOMPARE(label.width(), declared.width());

    QString longPath = QStringLiteral("/home/someone/Pictures");
    for (int i = 0; i < 12; ++i)
        longPath += QStringLiteral("/holiday %1 by the sea").arg(i);
    longPath += QStringLiteral("/sunset over the harbour.jpg");
    label.setCaption(longPath);
    QCOMPARE(label.width(), declared.width());
    QCOMPARE(label.pos(), declared.topLeft());
    QVERIFY2(label.height() > oneLine, qPrintable(QString::number(label.height())));
    QVERIFY(label.height() >= label.heightForWidth(declared.width()));

    // One long word with no place to break is cut, never widening the label.
    label.setCaption(QString(300, QLatin1Char('x')));
    QCOMPARE(label.width(), declared.width());

    label.setCaption(QStringLiteral("/a.bmp"));
    QCOMPARE(label.height(), oneLine);
    QCOMPARE(label.width(), declared.width());
}

void TestLayouts::countLabelGrowsToTheRight()
{
    Program program;
    AutoLabel& label = *ui(program.main()).countLabel;
    const QPoint declared =
        layout::pixels(layout::control(layout::MainWindowLayout, "Labelfnd").place).topLeft();
    QCOMPARE(declared.x(), 154);

    int previousWidth = 0;
    for (const char* caption : {"1", "12", "1234", "1234567"}) {
        label.setCaption(QLatin1String(caption));
        QCOMPARE(label.pos(), declared);
        QVERIFY2(label.width() > previousWidth, caption);
        QVERIFY2(label.width() >= label.fontMetrics().horizontalAdvance(QLatin1String(caption)),
                 caption);
        previousWidth = label.width();
    }
    label.setCaption(QString());
    QCOMPARE(label.pos(), declared);
    QVERIFY(label.width() < previousWidth);
}

// Creating the settings file waits until the main window has been painted.
void TestLayouts::firstStartWritesSettingsOnceShown()
{
    Program program;
    QVERIFY(!QFileInfo::exists(program.iso.fileName()));
    QCOMPARE(program.store.read(settings::Key{"Type", "Bitmap"}), QStringLiteral("*.bmp;"));
    QVERIFY(QTest::qWaitForWindowExposed(&program.main()));
    QTRY_COMPARE(program.iso.get("Type", "Bitmap").toString(), QStringLiteral("*.bmp;"));
    QCOMPARE(program.iso.get("Type", "Ico").toString(), QStringLiteral("&;"));
}

// Windows created hidden at start-up measure their captions only when they are first shown.
void TestLayouts::hiddenWindowsFitTheirLabelsWhenShown()
{
    Program program;
    OptionsWindow& options = program.windows.get<OptionsWindow>();
    QVERIFY(!options.isVisible());
    auto* mail = options.findChild<AutoLabel*>(QStringLiteral("Label2"));
    QVERIFY(mail);
    const QString longer = mail->caption() + QStringLiteral(" and a good deal more besides");
    mail->setCaption(longer);
    options.show();
    QVERIFY(QTest::qWaitForWindowExposed(&options));
    QVERIFY2(mail->width() >= mail->fontMetrics().horizontalAdvance(longer),
             qPrintable(QString::number(mail->width())));
    QCOMPARE(mail->height(), mail->fontMetrics().height());

    // Once shown, a new caption is measured at once, hidden again or not.
    options.hide();
    mail->setCaption(QStringLiteral("x"));
    options.show();
    QVERIFY(mail->width() < mail->fontMetrics().horizontalAdvance(longer));
}

void TestLayouts::previewStretchesAnyPicture_data()
{
    test::addRows<QSize>("picture", {{"tiny", QSize(2, 2)},
                                     {"tall and thin", QSize(4, 600)},
                                     {"wide and flat", QSize(900, 3)},
                                     {"larger than the box", QSize(1000, 800)},
                                     {"exactly the box", QSize(132, 132)}});
}

void TestLayouts::previewStretchesAnyPicture()
{
    QFETCH(QSize, picture);
    Program program;
    PictureBox& display = *ui(program.main()).preview;
    QCOMPARE(display.size(), QSize(134, 134));

    // Left half red, right half blue, top half lighter than the bottom: each quarter must
    // reach its own corner of the box.
    QImage image(picture, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool left = x < picture.width() / 2;
            const bool top = y < picture.height() / 2;
            image.setPixel(x, y,
                           left ? (top ? qRgb(255, 0, 0) : qRgb(128, 0, 0))
                                : (top ? qRgb(0, 0, 255) : qRgb(0, 0, 128)));
        }
    }
    display.setPicture(QPixmap::fromImage(image));

    QImage rendered(display.size(), QImage::Format_RGB32);
    rendered.fill(Qt::green);
    display.render(&rendered);
    const QRect area = display.pictureArea();
    QVERIFY(display.rect().contains(area));
    QVERIFY(area.width() >= display.width() - 2 && area.height() >= display.height() - 2);

    const auto at = [&](int x, int y) { return QColor(rendered.pixel(x, y)); };
    const QRect inner = area.adjusted(2, 2, -2, -2);
    QCOMPARE(at(inner.left(), inner.top()), QColor(255, 0, 0));
    QCOMPARE(at(inner.right(), inner.top()), QColor(0, 0, 255));
    QCOMPARE(at(inner.left(), inner.bottom()), QColor(128, 0, 0));
    QCOMPARE(at(inner.right(), inner.bottom()), QColor(0, 0, 128));
    // Nothing of the ground shows anywhere in the picture's area.
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (rendered.pixel(x, y) == QColor(Qt::green).rgb())
                QFAIL(qPrintable(QStringLiteral("ground shows at %1,%2").arg(x).arg(y)));
        }
    }
    // The two halves each cover half the box's width, whatever the picture's proportions.
    const int middleY = area.top() + area.height() / 2;
    for (int x = inner.left(); x <= inner.right(); ++x) {
        const QColor colour = at(x, middleY);
        const bool leftQuarter = x < area.left() + area.width() / 2 - area.width() / 8;
        const bool rightQuarter = x > area.left() + area.width() / 2 + area.width() / 8;
        if (leftQuarter)
            QVERIFY2(colour.red() > colour.blue(), qPrintable(QString::number(x)));
        if (rightQuarter)
            QVERIFY2(colour.blue() > colour.red(), qPrintable(QString::number(x)));
    }
}

void TestLayouts::enterInFileListBrowses()
{
    Program program;
    MainWindow& main = program.main();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.activateWindow();
    ui(main).fileList->setFocus();
    QTRY_VERIFY(ui(main).fileList->hasFocus());

    QTest::keyClick(ui(main).fileList, Qt::Key_Return);
    QCOMPARE(program.platform.chooserStarts.size(), 1);
    QCOMPARE(program.platform.chooserStarts.first(), ui(main).fileList->path());
    QTest::keyClick(ui(main).fileList, Qt::Key_Enter);
    QCOMPARE(program.platform.chooserStarts.size(), 2);
    QCOMPARE(program.platform.ends, 0);
}

void TestLayouts::enterOnAnotherButtonPressesThatButton()
{
    Program program;
    MainWindow& main = program.main();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.activateWindow();
    ui(main).exitButton->setFocus();
    QTRY_VERIFY(ui(main).exitButton->hasFocus());

    QTest::keyClick(ui(main).exitButton, Qt::Key_Return);
    QCOMPARE(program.platform.ends, 1);
    QCOMPARE(program.platform.chooserStarts.size(), 0);
}

QTEST_MAIN(TestLayouts)

#include "tst_layouts.moc"
