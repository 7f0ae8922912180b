// The keyboard focus mark as the main window draws it: Tab marks each control it reaches with a
// band that a sighted user sees at once; the mouse leaves no mark.
#include "app/MainWindow.h"
#include "layouts/Palette.h"
#include "support/MainWindowDriver.h"
#include "widgets/FileListBox.h"

#include <QApplication>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <cmath>

using namespace zelvo;

namespace {

// Contrast as the web's accessibility guidelines measure it, from 1 to 21.
double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb colour) {
        const auto linear = [](int value) {
            const double v = value / 255.0;
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) +
               0.0722 * linear(qBlue(colour));
    };
    const auto [dark, light] = std::minmax({luminance(a), luminance(b)});
    return (light + 0.05) / (dark + 0.05);
}

// Why no band of exactly 2 pixels, 3:1 apart from the pixels on both sides of it, runs within a
// few pixels outside the middle of each edge of the area; or an empty text.
QString markMissing(const QImage& shown, const QRect& area)
{
    const QPoint middle = area.center();
    const std::pair<QPoint, QPoint> sides[] = {{{area.left() - 1, middle.y()}, {-1, 0}},
                                               {{area.right() + 1, middle.y()}, {1, 0}},
                                               {{middle.x(), area.top() - 1}, {0, -1}},
                                               {{middle.x(), area.bottom() + 1}, {0, 1}}};
    for (const auto& [edge, outwards] : sides) {
        bool found = false;
        for (int at = 0; at <= 4 && !found; ++at) {
            const auto pixel = [&](int step) { return shown.pixel(edge + outwards * step); };
            found = pixel(at + 1) == pixel(at) && contrast(pixel(at), pixel(at - 1)) >= 3 &&
                    contrast(pixel(at), pixel(at + 2)) >= 3;
        }
        if (!found)
            return QStringLiteral("no mark beside (%1,%2)").arg(edge.x()).arg(edge.y());
    }
    return {};
}

int ringPixels(QWidget& window)
{
    const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            count += shown.pixel(x, y) == (layout::FocusRing | 0xFF000000U) ? 1 : 0;
    }
    return count;
}

} // namespace

class FocusMarkTest : public QObject
{
    Q_OBJECT

private slots:
    void tabMarksEachControlAndTheMouseDoesNot();
};

void FocusMarkTest::tabMarksEachControlAndTheMouseDoesNot()
{
    test::Session s;
    s.startShown();
    MainWindow& main = s.main();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    const int unmarked = ringPixels(main);

    QSet<QWidget*> reached;
    for (int press = 0; press < 8; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        reached.insert(focused);
        const QImage shown = main.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString missing =
            markMissing(shown, QRect(focused->mapTo(&main, QPoint(0, 0)), focused->size()));
        QVERIFY2(missing.isEmpty(),
                 qPrintable(focused->objectName() + QLatin1String(": ") + missing));
    }
    // The seven controls on the keyboard's way: title, list, preview, and four buttons.
    QCOMPARE(reached.size(), 7);

    // A click focuses the list and takes the mark away.
    QTest::mouseClick(main.fileList->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(QApplication::focusWidget(), main.fileList);
    QCOMPARE(ringPixels(main), unmarked);
}

QTEST_MAIN(FocusMarkTest)
#include "tst_focusmark.moc"
