// The picture's real size: the resolution each type of file stores, how it reads to the user, and
// the I key of the tile window.

#include "core/SwatchPage.h"
#include "pictures/StoredResolution.h"
#include "support/DataTable.h"
#include "support/MainWindowDriver.h"
#include "support/Pictures.h"
#include "tile/TileWorkbench.h"

#include <QLabel>
#include <QtEndian>
#include <QtTest>

using namespace zelvo;

namespace {

template <typename T> QByteArray be(T value)
{
    QByteArray bytes(sizeof(T), '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}
template <typename T> QByteArray le(T value)
{
    QByteArray bytes(sizeof(T), '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// A frame header of 1500 x 1200 after the segments.
QByteArray jpeg(const QByteArray& segments)
{
    return QByteArray("\xff\xd8", 2) + segments + QByteArray("\xff\xc0\x00\x11\x08", 5) +
           be<quint16>(1200) + be<quint16>(1500) + QByteArray(12, '\0');
}
QByteArray jfif(quint8 units, quint16 across, quint16 down)
{
    return QByteArray("\xff\xe0\x00\x10JFIF\0\x01\x02", 11) + char(units) + be(across) + be(down) +
           QByteArray(2, '\0');
}

// A big-endian TIFF of 1500 x 1200 whose first directory holds the resolution tags given; its
// rationals follow the directory.
QByteArray tiff(quint32 across, quint32 denominator, quint16 unit, quint32 directoryAt = 8)
{
    QByteArray entries;
    const auto entry = [&](quint16 tag, quint16 type, quint32 value) {
        entries += be(tag) + be(type) + be<quint32>(1) +
                   (type == 3 ? be<quint16>(quint16(value)) + QByteArray(2, '\0') : be(value));
    };
    const quint32 rationalsAt = 8 + 2 + 5 * 12 + 4;
    entry(256, 3, 1500);
    entry(257, 4, 1200);
    entry(282, 5, rationalsAt);
    entry(283, 5, rationalsAt);
    entry(296, 3, unit);
    return QByteArray("MM\0*", 4) + be(directoryAt) + be<quint16>(5) + entries + be<quint32>(0) +
           be(across) + be(denominator);
}

QByteArray pngChunk(const char* type, const QByteArray& data)
{
    return be<quint32>(quint32(data.size())) + type + data + be<quint32>(0);
}
QByteArray png(const QByteArray& afterHeader)
{
    return QByteArray("\x89PNG\r\n\x1a\n", 8) +
           pngChunk("IHDR", be<quint32>(1500) + be<quint32>(1200) + QByteArray(5, '\0')) +
           afterHeader + pngChunk("IEND", {});
}
QByteArray phys(quint32 across, quint32 down, char unit)
{
    return pngChunk("pHYs", be(across) + be(down) + unit);
}

QByteArray bitmap(qint32 across, qint32 down)
{
    return QByteArray("BM") + QByteArray(12, '\0') + le<quint32>(40) + le<qint32>(1500) +
           le<qint32>(-1200) + le<quint16>(1) + le<quint16>(24) + QByteArray(8, '\0') + le(across) +
           le(down) + QByteArray(8, '\0');
}

QByteArray svg(const char* width, const char* height)
{
    return QByteArray("<?xml version=\"1.0\"?>\n<!-- a tile -->\n<svg xmlns=\"http://www.w3.org/"
                      "2000/svg\" width=\"") +
           width + "\" height=\"" + height + "\" viewBox=\"0 0 10 10\"><rect/></svg>";
}

} // namespace

class TestRealSize : public QObject
{
    Q_OBJECT
private slots:
    void storedResolution_data();
    void storedResolution();
    void swatchOfSpecks();
    void keyIShowsTheWholePicture();
};

// What the file's header gives, as the I key shows it; an SVG's size is read with the pixels it
// is drawn at, 180 each way.
void TestRealSize::storedResolution_data()
{
    test::addColumns<QByteArray, QString>("file", "shown");
    const QString none = QStringLiteral("1500 x 1200 px, no stored resolution");
    const QString at300 = QStringLiteral("1500 x 1200 px, 12.7 x 10.16 cm at 300 dpi");
    QTest::newRow("jpeg jfif dpi") << jpeg(jfif(1, 300, 300)) << at300;
    QTest::newRow("jpeg jfif per cm")
        << jpeg(jfif(2, 100, 50)) << QStringLiteral("1500 x 1200 px, 15 x 24 cm at 254 x 127 dpi");
    QTest::newRow("jpeg jfif aspect only") << jpeg(jfif(0, 300, 300)) << none;
    QTest::newRow("jpeg jfif zero") << jpeg(jfif(1, 0, 0)) << none;
    QTest::newRow("jpeg jfif 65535") << jpeg(jfif(1, 65535, 65535)) << none;
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff(300, 1, 2);
    const QByteArray app1 =
        QByteArray("\xff\xe1", 2) + be<quint16>(quint16(exif.size() + 2)) + exif;
    QTest::newRow("jpeg exif") << jpeg(app1) << at300;
    QTest::newRow("jpeg jfif aspect, exif") << jpeg(jfif(0, 1, 1) + app1) << at300;
    QTest::newRow("png phys") << png(phys(11811, 11811, 1)) << at300;
    QTest::newRow("png phys unknown unit") << png(phys(11811, 11811, 0)) << none;
    QTest::newRow("png phys zero") << png(phys(0, 0, 1)) << none;
    QTest::newRow("png phys after data")
        << png(pngChunk("IDAT", QByteArray(4, '\0')) + phys(11811, 11811, 1)) << none;
    QTest::newRow("tiff inch") << tiff(300, 1, 2) << at300;
    QTest::newRow("tiff cm") << tiff(11811, 100, 3) << at300;
    QTest::newRow("tiff no unit") << tiff(300, 1, 1) << none;
    QTest::newRow("tiff zero denominator") << tiff(300, 0, 2) << none;
    QTest::newRow("tiff absurd") << tiff(4000000000u, 1, 2) << none;
    QTest::newRow("tiff directory past the end") << tiff(300, 1, 2, 0xfffffff0u) << QString();
    QTest::newRow("bitmap") << bitmap(11811, 11811) << at300;
    QTest::newRow("bitmap zero") << bitmap(0, 0) << none;
    QTest::newRow("bitmap negative") << bitmap(-11811, -11811) << none;
    QTest::newRow("svg in and mm")
        << svg("2in", "50.8mm") << QStringLiteral("180 x 180 px, 5.08 x 5.08 cm at 90 dpi");
    QTest::newRow("svg pt and pc")
        << svg(" 144pt", "12pc ") << QStringLiteral("180 x 180 px, 5.08 x 5.08 cm at 90 dpi");
    QTest::newRow("svg pixels") << svg("180px", "180")
                                << QStringLiteral("180 x 180 px, no stored resolution");
    QTest::newRow("svg zero") << svg("0cm", "0cm")
                              << QStringLiteral("180 x 180 px, no stored resolution");
    QTest::newRow("svg absurd") << svg("1e-9in", "1e9in")
                                << QStringLiteral("180 x 180 px, no stored resolution");
}

void TestRealSize::storedResolution()
{
    QFETCH(const QByteArray, file);
    QFETCH(const QString, shown);
    const PictureMeasure measure = pictureMeasure(file);
    const QSize pixels = file.contains("<svg") ? QSize(180, 180) : measure.pixels;
    QCOMPARE(pixels.isEmpty() ? QString()
                              : realSizeText(pixels, paperInches(pixels, measure.resolution),
                                             Measure::Centimetres),
             shown);
    // Every stored resolution a page is drawn at gives copies of a countable size.
    const QSizeF inches = paperInchesOrScreen(QSize(1, 1), measure.resolution);
    QVERIFY(inches.width() >= 1 / MaxPixelsPerInch && inches.height() >= 1 / MaxPixelsPerInch);
}

// A pixel at the finest resolution taken, in mirrored copies on a large page at 1200 dpi: drawn in
// blocks of a tenth of an inch at least, each of a bounded number of pixels.
void TestRealSize::swatchOfSpecks()
{
    const StoredResolution finest{StoredResolution::Unit::PixelsPerInch, 1e4, 1e4};
    const QSizeF inches = paperInchesOrScreen({1, 1}, finest);
    const std::optional<SwatchPage> page =
        swatchPage({40000, 50000}, 1200, {1, 1}, inches, Repeat::Mirror, 100);
    QVERIFY(page);
    QVERIFY(page->blockCopies.width() * page->copy.width() >= 120);
    QVERIFY(page->blockCopies.height() * page->copy.height() >= 120);
    QVERIFY(page->blockCopies.width() * page->blockCopies.height() * page->blockScale *
                page->blockScale <=
            MaxBlockPixels);
}

// A picture larger than the window, of which the window holds a part: I gives the whole size, in
// inches where the locale measures in them (the table above shows centimetres), and screen
// readers hear it.
void TestRealSize::keyIShowsTheWholePicture()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    test::Session session;
    session.startShown();
    QImage picture(1500, 1200, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    picture.setDotsPerMeterX(11811);
    picture.setDotsPerMeterY(11811);
    const test::PictureChosen chosen(session, QStringLiteral("print.png"), picture, "PNG");
    QVERIFY(chosen.ready);
    QString label;
    QString heard;
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        QTRY_VERIFY(!tile.loading());
        QVERIFY(tile.tiledView->picture().width() < 1500);
        (void)QTest::qWaitForWindowActive(&tile);
        QTest::keyClick(tile.printButton, Qt::Key_I);
        label = tile.workbench->zoomLabel().text();
        heard = tile.tiledView->accessibleDescription();
    }));
    const QString shown = QStringLiteral("1500 x 1200 px, 5 x 4 in at 300 dpi");
    QCOMPARE(label, shown);
    QCOMPARE(heard, shown);
}

QTEST_MAIN(TestRealSize)
#include "tst_realsize.moc"
