// The keyboard focus mark as the main window draws it: Tab marks each control it reaches with a
// band that a sighted user sees at once; the mouse leaves no mark.
#include "app/MainWindow.h"
#include "layouts/Palette.h"
#include "support/MainWindowDriver.h"
#include "widgets/FileListBox.h"

#include <QtTest>

using namespace zelvo;

namespace {

// Contrast as the web's accessibility guidelines measure it, from 1 to 21.
double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb c) {
        const auto linear = [](int v) {
            return v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
    };
    const auto [dark, light] = std::minmax({luminance(a), luminance(b)});
    return (light + 0.05) / (dark + 0.05);
}

// Whether a band of exactly 2 pixels, 3:1 apart from the pixels on both its sides, runs a few
// pixels outside the middle of each edge of the control.
bool marked(const QImage& shown, const QRect& control)
{
    const QPoint middle = control.center();
    const std::pair<QPoint, QPoint> sides[] = {{{control.left(), middle.y()}, {-1, 0}},
                                               {{control.right(), middle.y()}, {1, 0}},
                                               {{middle.x(), control.top()}, {0, -1}},
                                               {{middle.x(), control.bottom()}, {0, 1}}};
    return std::ranges::all_of(sides, [&](const auto& side) {
        const auto pixel = [&](int step) { return shown.pixel(side.first + side.second * step); };
        for (int at = 1; at <= 5; ++at) {
            if (pixel(at + 1) == pixel(at) && contrast(pixel(at), pixel(at - 1)) >= 3 &&
                contrast(pixel(at), pixel(at + 2)) >= 3)
                return true;
        }
        return false;
    });
}

} // namespace

class FocusMarkTest : public QObject
{
    Q_OBJECT

private slots:
    void tabMarksEachControlAndTheMouseDoesNot()
    {
        test::Session s;
        s.startShown();
        MainWindow& main = s.main();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        const auto shown = [&] {
            return main.grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const auto ringPixels = [&] {
            const QImage image = shown();
            const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
            return std::count(pixels, pixels + image.width() * image.height(),
                              layout::FocusRing | 0xFF000000U);
        };
        const auto unmarked = ringPixels();
        QSet<QWidget*> reached;
        for (int press = 0; press < 8; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focused = QApplication::focusWidget();
            reached.insert(focused);
            QVERIFY2(marked(shown(), QRect(focused->mapTo(&main, QPoint()), focused->size())),
                     qPrintable(focused->objectName()));
        }
        // The title, the list, the preview and four buttons.
        QCOMPARE(reached.size(), 7);

        // A click focuses the list and takes the mark away.
        QTest::mouseClick(ui(main).fileList->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(QApplication::focusWidget(), ui(main).fileList);
        QCOMPARE(ringPixels(), unmarked);
    }
};

QTEST_MAIN(FocusMarkTest)
#include "tst_focusmark.moc"
