// SVG pictures: their declared size, their zoomed copies drawn again rather than enlarged, and
// files outside them never read.

#include "core/ZoomRule.h"
#include "pictures/PictureLoader.h"
#include "support/MainWindowDriver.h"
#include "support/Pictures.h"
#include "tile/TileWorkbench.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelvo;

namespace {

// An opaque picture of 60 x 40 with curved edges, which an enlargement turns into steps.
const QByteArray Drawing =
    "<svg xmlns='http://www.w3.org/2000/svg' width='60' height='40'>"
    "<rect width='60' height='40' fill='#fff'/><circle cx='30' cy='20' r='17.3' fill='#c03'/>"
    "<path d='M0 40 L60 0' stroke='#08f' stroke-width='1.7'/></svg>";

[[nodiscard]] QImage drawnDirectly(const QByteArray& svg, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QSvgRenderer(svg).render(&painter, QRectF(QPointF(0, 0), size));
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestScalable : public QObject
{
    Q_OBJECT

private slots:
    void declaredSize_data();
    void declaredSize();
    void tileAt400PercentIsDrawnAgain();
    void filesOutsideAreNeverRead();
};

void TestScalable::declaredSize_data()
{
    QTest::addColumn<QByteArray>("root");
    QTest::addColumn<QSize>("size");
    QTest::newRow("width and height") << QByteArray("width='30' height='20px'") << QSize(30, 20);
    QTest::newRow("inches and points") << QByteArray("width='1in' height='36pt'") << QSize(96, 48);
    QTest::newRow("view box") << QByteArray("viewBox='0 0 50 25'") << QSize(50, 25);
    QTest::newRow("width and the view box's shape")
        << QByteArray("width='100' viewBox='0 0 50 25'") << QSize(100, 50);
    QTest::newRow("percentages and the view box")
        << QByteArray("width='100%' height='100%' viewBox='0 0 7 9'") << QSize(7, 9);
    QTest::newRow("nothing") << QByteArray("width='100%'") << QSize(0, 0);
    QTest::newRow("over the budget") << QByteArray("width='20000' height='20000'") << QSize(0, 0);
}

void TestScalable::declaredSize()
{
    QFETCH(QByteArray, root);
    QFETCH(QSize, size);
    QTemporaryDir dir;
    QVERIFY(test::writeBytes(dir.filePath("p.svg"),
                             "<svg xmlns='http://www.w3.org/2000/svg' " + root + "><rect/></svg>"));
    QCOMPARE(loadPicture(dir.filePath("p.svg")).size(), size);
}

// At 400% each copy is the drawing made four times as large, not its pixels enlarged.
void TestScalable::tileAt400PercentIsDrawnAgain()
{
    test::Session session;
    session.startShown();
    QTemporaryDir dir;
    QVERIFY(test::writeBytes(dir.filePath("p.svg"), Drawing));
    test::browseTo(session, dir.path());
    QVERIFY(test::clickFile(*ui(session.main()).fileList, QStringLiteral("p.svg")));
    const QImage expected = drawnDirectly(Drawing, {240, 160});
    const QImage natural = drawnDirectly(Drawing, {60, 40});
    QVERIFY(expected != natural.scaled(240, 160));
    QImage shown;
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        QCOMPARE(tile.tiledView->grab(QRect(0, 0, 60, 40))
                     .toImage()
                     .convertToFormat(QImage::Format_RGB32),
                 natural);
        for (int i = 0; i < 3; ++i)
            tile.workbench->setZoom(zoomIn(tile.workbench->zoom()));
        QTRY_COMPARE((shown = tile.tiledView->grab(QRect(0, 0, 240, 160))
                                  .toImage()
                                  .convertToFormat(QImage::Format_RGB32)),
                     expected);
    }));
    QCOMPARE(shown, expected);
}

// An <image> whose picture lies in another file is left out, and so is one held in the file
// whose header says it is too large for the budget; a small one held in the file is drawn.
void TestScalable::filesOutsideAreNeverRead()
{
    QTemporaryDir dir;
    QVERIFY(test::writePicture(dir.path(), QStringLiteral("red.png"),
                               test::solidPicture({8, 8}, Qt::red), "PNG"));
    const auto png = [](const QImage& picture) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        return "data:image/png;base64," + buffer.data().toBase64();
    };
    // Within Qt's limit for one picture, as the program sets it, over what is left for SVG files.
    applyPictureAllocationLimit();
    QImage black(6000, 6000, QImage::Format_Mono);
    black.fill(0);
    const QList<QByteArray> references{"red.png", dir.filePath("red.png").toUtf8(), png(black),
                                       png(test::solidPicture({8, 8}, Qt::red))};
    QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' "
                     "xmlns:xlink='http://www.w3.org/1999/xlink' width='8' height='16'>";
    for (int i = 0; i < references.size(); ++i)
        svg += "<image y='" + QByteArray::number(4 * i) + "' width='8' height='4' xlink:href='" +
               references[i] + "'/>";
    QVERIFY(test::writeBytes(dir.filePath("p.svg"), svg + "</svg>"));
    const QImage loaded = loadPicture(dir.filePath("p.svg"));
    QCOMPARE(loaded.size(), QSize(8, 16));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 8; ++x)
            QCOMPARE(qAlpha(loaded.pixel(x, y)), y < 12 ? 0 : 255);
    }
}

QTEST_MAIN(TestScalable)
#include "tst_scalable.moc"
