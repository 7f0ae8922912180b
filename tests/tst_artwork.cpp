// Checks the committed artwork in resources/: that each file decodes at its size, and that the
// hand-written ICO, CUR and GIF encodings hold what their headers promise.

#include <QColor>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QPoint>
#include <QSet>
#include <QSize>
#include <QtEndian>
#include <QtTest>

#include "layouts/Artwork.h"
#include "support/DataTable.h"
#include "support/Files.h"
#include "support/SourceTree.h"

#include <QIcon>
#include <QPixmap>

#include <optional>

namespace {

using zelvo::test::resourcePath;

[[nodiscard]] QByteArray readResource(const QString& name)
{
    return zelvo::test::readBytes(resourcePath(name));
}

[[nodiscard]] int u8(const QByteArray& bytes, qsizetype at)
{
    return static_cast<uchar>(bytes.at(at));
}

[[nodiscard]] int u16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

[[nodiscard]] qint32 s32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

[[nodiscard]] quint32 u32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

[[nodiscard]] constexpr int rowStride(int width, int bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

// One image of an ICO or CUR file, from its directory entry and BITMAPINFOHEADER.
struct IconImageInfo
{
    int width = 0;
    int height = 0;
    int colourCount = 0;
    int planesOrHotSpotX = 0;
    int bitCountOrHotSpotY = 0;
    quint32 bytesInRes = 0;
    quint32 offset = 0;
    qint32 headerSize = 0;
    qint32 headerWidth = 0;
    qint32 headerHeight = 0;
    int headerBitCount = 0;
    quint32 headerCompression = 0;

    [[nodiscard]] int paletteBytes() const { return headerBitCount <= 8 ? 4 << headerBitCount : 0; }
    [[nodiscard]] qsizetype xorOffset() const { return offset + headerSize + paletteBytes(); }
    [[nodiscard]] qsizetype andOffset() const
    {
        return xorOffset() + qsizetype(rowStride(width, headerBitCount)) * height;
    }
    [[nodiscard]] quint32 expectedBytes() const
    {
        return quint32(headerSize + paletteBytes() +
                       (rowStride(width, headerBitCount) + rowStride(width, 1)) * height);
    }
};

struct IconFileInfo
{
    int type = 0;
    QList<IconImageInfo> images;
};

// Reads the ICONDIR, its entries and each image's header; nullopt if anything lies outside
// the file.
[[nodiscard]] std::optional<IconFileInfo> parseIconFile(const QByteArray& bytes)
{
    if (bytes.size() < 6 || u16(bytes, 0) != 0)
        return std::nullopt;
    IconFileInfo info;
    info.type = u16(bytes, 2);
    const int count = u16(bytes, 4);
    if (bytes.size() < 6 + 16 * count)
        return std::nullopt;
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = 6 + 16 * i;
        IconImageInfo image;
        image.width = u8(bytes, entry) == 0 ? 256 : u8(bytes, entry);
        image.height = u8(bytes, entry + 1) == 0 ? 256 : u8(bytes, entry + 1);
        image.colourCount = u8(bytes, entry + 2);
        image.planesOrHotSpotX = u16(bytes, entry + 4);
        image.bitCountOrHotSpotY = u16(bytes, entry + 6);
        image.bytesInRes = u32(bytes, entry + 8);
        image.offset = u32(bytes, entry + 12);
        if (qint64(image.offset) + image.bytesInRes > bytes.size() || image.bytesInRes < 40)
            return std::nullopt;
        image.headerSize = s32(bytes, image.offset);
        image.headerWidth = s32(bytes, image.offset + 4);
        image.headerHeight = s32(bytes, image.offset + 8);
        image.headerBitCount = u16(bytes, image.offset + 14);
        image.headerCompression = u32(bytes, image.offset + 16);
        info.images.append(image);
    }
    return info;
}

// Whether the AND mask marks pixel (x, y) (top-down) as transparent.
[[nodiscard]] bool masked(const QByteArray& bytes, const IconImageInfo& image, int x, int y)
{
    const qsizetype row =
        image.andOffset() + qsizetype(rowStride(image.width, 1)) * (image.height - 1 - y);
    return (u8(bytes, row + x / 8) & (0x80 >> (x % 8))) != 0;
}

// Whether the XOR bitmap holds zero (black) at pixel (x, y).
[[nodiscard]] bool blackXor(const QByteArray& bytes, const IconImageInfo& image, int x, int y)
{
    const qsizetype row =
        image.xorOffset() +
        qsizetype(rowStride(image.width, image.headerBitCount)) * (image.height - 1 - y);
    if (image.headerBitCount == 4)
        return ((u8(bytes, row + x / 2) >> (x % 2 == 0 ? 4 : 0)) & 0x0f) == 0;
    return u8(bytes, row + x * 3) == 0 && u8(bytes, row + x * 3 + 1) == 0 &&
           u8(bytes, row + x * 3 + 2) == 0;
}

[[nodiscard]] QList<QImage> decodeAll(const QString& name, const QByteArray& format)
{
    QImageReader reader(resourcePath(name), format);
    QList<QImage> images;
    const int count = qMax(reader.imageCount(), 1);
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i) && i > 0)
            break;
        images.append(reader.read());
    }
    return images;
}

// The drawing at twice the size that lies beside a picture: "title@2x.bmp" for "title.bmp".
[[nodiscard]] QString doubleSize(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
}

[[nodiscard]] QList<QSize> doubled(QList<QSize> sizes)
{
    for (QSize& size : sizes)
        size *= 2;
    return sizes;
}

// The PNG twins the program reads for the images of an icon or cursor file, in their order.
[[nodiscard]] QList<QImage> twins(const QString& name)
{
    QList<QImage> images;
    QImage image;
    while (image.load(resourcePath(QStringLiteral("png/%1.%2.png").arg(name).arg(images.size())))) {
        image.setDevicePixelRatio(1.0); // "@2x" in the name would make it 2
        images.append(image);
    }
    return images;
}

// Every icon drawn for the desktop's icon theme, with its size in pixels: "icons/22x22@2/..."
// holds 44 x 44.
[[nodiscard]] QList<std::pair<QString, QSize>> themeIcons()
{
    QList<std::pair<QString, QSize>> icons;
    for (QDirIterator it(resourcePath(QStringLiteral("icons")), {QStringLiteral("*.png")},
                         QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString folder = it.next().section(QLatin1Char('/'), -2, -2);
        const int side = folder.section(QLatin1Char('x'), 0, 0).toInt();
        icons.append({QStringLiteral("icons/") + folder + QLatin1Char('/') + it.fileName(),
                      QSize(side, side) * (folder.endsWith(QLatin1String("@2")) ? 2 : 1)});
    }
    return icons;
}

struct GifInfo
{
    QSize screen;
    QList<QRgb> globalTable;
    int transparentIndex = -1;
    QRect frame;
    bool trailer = false;
};

// Walks the GIF's blocks; nullopt if the structure is broken.
[[nodiscard]] std::optional<GifInfo> parseGif(const QByteArray& bytes)
{
    if (bytes.size() < 13 || !bytes.startsWith("GIF89a"))
        return std::nullopt;
    GifInfo info;
    info.screen = QSize(u16(bytes, 6), u16(bytes, 8));
    const int packed = u8(bytes, 10);
    qsizetype pos = 13;
    if (packed & 0x80) {
        const int entries = 2 << (packed & 0x07);
        if (bytes.size() < pos + 3 * entries)
            return std::nullopt;
        for (int i = 0; i < entries; ++i, pos += 3)
            info.globalTable.append(qRgb(u8(bytes, pos), u8(bytes, pos + 1), u8(bytes, pos + 2)));
    }
    const auto skipSubBlocks = [&]() {
        while (pos < bytes.size() && u8(bytes, pos) != 0)
            pos += 1 + u8(bytes, pos);
        ++pos;
        return pos <= bytes.size();
    };
    while (pos < bytes.size()) {
        const int introducer = u8(bytes, pos++);
        if (introducer == 0x3b) {
            info.trailer = true;
            break;
        }
        if (introducer == 0x21 && pos + 1 < bytes.size()) {
            const int label = u8(bytes, pos++);
            if (label == 0xf9 && pos + 5 < bytes.size() && u8(bytes, pos) == 4 &&
                (u8(bytes, pos + 1) & 0x01) != 0)
                info.transparentIndex = u8(bytes, pos + 4);
            if (!skipSubBlocks())
                return std::nullopt;
        } else if (introducer == 0x2c && pos + 9 < bytes.size()) {
            info.frame = QRect(u16(bytes, pos), u16(bytes, pos + 2), u16(bytes, pos + 4),
                               u16(bytes, pos + 6));
            const int flags = u8(bytes, pos + 8);
            pos += 9;
            if (flags & 0x80)
                pos += 3 * (2 << (flags & 0x07));
            ++pos; // LZW minimum code size
            if (!skipSubBlocks())
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return info;
}

[[nodiscard]] int colourDistance(QRgb a, QRgb b)
{
    return qMax(qAbs(qRed(a) - qRed(b)),
                qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

} // namespace

class TestArtwork : public QObject
{
    Q_OBJECT

private slots:
    void decodesAtStatedSize_data();
    void decodesAtStatedSize();
    void bitmapsAre24Bit_data();
    void bitmapsAre24Bit();
    void iconDirectories_data();
    void iconDirectories();
    void iconMasksAreClean_data();
    void iconMasksAreClean();
    void transparentCorners_data();
    void transparentCorners();
    void cursorHotSpotIsOnTheFingertip();
    void gifPaletteAndTransparency();
    void colourChannelsInRightOrder_data();
    void colourChannelsInRightOrder();
    void programReadsIconsWithMasks_data();
    void programReadsIconsWithMasks();
    void loaderTakesTheDrawingForTheRatio_data();
    void loaderTakesTheDrawingForTheRatio();
    void windowIconHoldsEveryInstalledSize();
};

void TestArtwork::decodesAtStatedSize_data()
{
    zelvo::test::addColumns<QString, QByteArray, QList<QSize>>("file", "format", "sizes");

    const QSize s16(16, 16);
    const QSize s32(32, 32);
    // Each picture, and beside it the same drawn at twice the size.
    const auto both = [](const QString& file, const QByteArray& format, const QList<QSize>& sizes) {
        QTest::newRow(qPrintable(file)) << file << format << sizes;
        QTest::newRow(qPrintable(doubleSize(file))) << doubleSize(file) << format << doubled(sizes);
    };
    both(QStringLiteral("zelvo.ico"), "ico", {s16, s32});
    both(QStringLiteral("title.bmp"), "bmp", {{482, 33}});
    both(QStringLiteral("browse.jpg"), "jpeg", {{21, 21}});
    both(QStringLiteral("options.bmp"), "bmp", {{97, 23}});
    both(QStringLiteral("help.bmp"), "bmp", {{97, 23}});
    both(QStringLiteral("tray.ico"), "ico", {s16});
    both(QStringLiteral("trayflash.ico"), "ico", {s16});
    both(QStringLiteral("apply.gif"), "gif", {{62, 43}});
    both(QStringLiteral("mail.ico"), "ico", {s32, s16});
    both(QStringLiteral("hand.cur"), "cur", {s32});
    both(QStringLiteral("about.bmp"), "bmp", {{300, 228}});
    for (const auto& [file, size] : themeIcons())
        QTest::newRow(qPrintable(file)) << file << QByteArray("png") << QList<QSize>{size};
}

void TestArtwork::decodesAtStatedSize()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, format);
    QFETCH(QList<QSize>, sizes);

    const QList<QImage> images = decodeAll(file, format);
    QCOMPARE(images.size(), sizes.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QImage& image = images.at(i);
        QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("image %1 did not decode").arg(i)));
        QCOMPARE(image.size(), sizes.at(i));

        // Something was drawn: a blank or single-colour picture means the generator failed.
        QSet<QRgb> colours;
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height() && colours.size() < 3; ++y)
            for (int x = 0; x < argb.width(); ++x)
                colours.insert(argb.pixel(x, y));
        QVERIFY2(colours.size() >= 3,
                 qPrintable(QStringLiteral("image %1 is nearly blank").arg(i)));
    }
}

void TestArtwork::bitmapsAre24Bit_data()
{
    zelvo::test::addColumns<QString, QSize>("file", "size");
    for (const auto& [file, size] : {std::pair(QStringLiteral("title.bmp"), QSize(482, 33)),
                                     std::pair(QStringLiteral("options.bmp"), QSize(97, 23)),
                                     std::pair(QStringLiteral("help.bmp"), QSize(97, 23)),
                                     std::pair(QStringLiteral("about.bmp"), QSize(300, 228))}) {
        QTest::newRow(qPrintable(file)) << file << size;
        QTest::newRow(qPrintable(doubleSize(file))) << doubleSize(file) << size * 2;
    }
}

void TestArtwork::bitmapsAre24Bit()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);

    const QByteArray bytes = readResource(file);
    QVERIFY(bytes.size() > 54);
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(u32(bytes, 2), quint32(bytes.size()));
    QVERIFY(s32(bytes, 14) >= 40);
    QCOMPARE(s32(bytes, 18), size.width());
    QCOMPARE(qAbs(s32(bytes, 22)), size.height());
    QCOMPARE(u16(bytes, 28), 24);
    QCOMPARE(u32(bytes, 30), 0u); // BI_RGB, uncompressed
    QVERIFY(qint64(u32(bytes, 10)) + qint64(rowStride(size.width(), 24)) * size.height() <=
            bytes.size());
}

void TestArtwork::iconDirectories_data()
{
    zelvo::test::addColumns<QString, int, QList<QSize>, int, QPoint>("file", "type", "sizes",
                                                                     "bitCount", "hotSpot");

    const QPoint none(-1, -1);
    const auto both = [](const QString& file, int type, const QList<QSize>& sizes, int bitCount,
                         QPoint hotSpot) {
        QTest::newRow(qPrintable(file)) << file << type << sizes << bitCount << hotSpot;
        QTest::newRow(qPrintable(doubleSize(file)))
            << doubleSize(file) << type << doubled(sizes) << bitCount
            << (hotSpot == QPoint(-1, -1) ? hotSpot : hotSpot * 2);
    };
    both(QStringLiteral("zelvo.ico"), 1, {{16, 16}, {32, 32}}, 24, none);
    both(QStringLiteral("tray.ico"), 1, {{16, 16}}, 4, none);
    both(QStringLiteral("trayflash.ico"), 1, {{16, 16}}, 4, none);
    both(QStringLiteral("mail.ico"), 1, {{32, 32}, {16, 16}}, 4, none);
    both(QStringLiteral("hand.cur"), 2, {{32, 32}}, 4, QPoint(12, 1));
}

void TestArtwork::iconDirectories()
{
    QFETCH(QString, file);
    QFETCH(int, type);
    QFETCH(QList<QSize>, sizes);
    QFETCH(int, bitCount);
    QFETCH(QPoint, hotSpot);

    const QByteArray bytes = readResource(file);
    const std::optional<IconFileInfo> info = parseIconFile(bytes);
    QVERIFY2(info.has_value(), "directory entries point outside the file");
    QCOMPARE(info->type, type);
    QCOMPARE(info->images.size(), sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const IconImageInfo& image = info->images.at(i);
        QCOMPARE(QSize(image.width, image.height), sizes.at(i));
        QCOMPARE(image.colourCount, bitCount == 4 ? 16 : 0);
        if (type == 2) {
            QCOMPARE(QPoint(image.planesOrHotSpotX, image.bitCountOrHotSpotY), hotSpot);
        } else {
            QCOMPARE(image.planesOrHotSpotX, 1);
            QCOMPARE(image.bitCountOrHotSpotY, bitCount);
        }
        QCOMPARE(image.headerSize, 40);
        QCOMPARE(image.headerWidth, image.width);
        QCOMPARE(image.headerHeight, 2 * image.height); // XOR bitmap and AND mask
        QCOMPARE(image.headerBitCount, bitCount);
        QCOMPARE(image.headerCompression, 0u);
        QCOMPARE(image.bytesInRes, image.expectedBytes());
    }
}

void TestArtwork::iconMasksAreClean_data()
{
    QTest::addColumn<QString>("file");
    for (const QString& file :
         {QStringLiteral("zelvo.ico"), QStringLiteral("tray.ico"), QStringLiteral("trayflash.ico"),
          QStringLiteral("mail.ico"), QStringLiteral("hand.cur")}) {
        QTest::newRow(qPrintable(file)) << file;
        QTest::newRow(qPrintable(doubleSize(file))) << doubleSize(file);
    }
}

// Windows draws an icon as (screen AND mask) XOR image: a masked pixel whose image is not black
// would invert the screen instead of letting it show through.
void TestArtwork::iconMasksAreClean()
{
    QFETCH(QString, file);

    const QByteArray bytes = readResource(file);
    const std::optional<IconFileInfo> info = parseIconFile(bytes);
    QVERIFY(info.has_value());
    for (const IconImageInfo& image : info->images) {
        int maskedCount = 0;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                if (!masked(bytes, image, x, y))
                    continue;
                ++maskedCount;
                QVERIFY2(blackXor(bytes, image, x, y),
                         qPrintable(
                             QStringLiteral("pixel %1,%2 is masked but not black").arg(x).arg(y)));
            }
        }
        const int area = image.width * image.height;
        QVERIFY2(maskedCount > 0 && maskedCount < area * 3 / 4,
                 qPrintable(QStringLiteral("%1 of %2 pixels masked").arg(maskedCount).arg(area)));
    }
}

void TestArtwork::transparentCorners_data()
{
    zelvo::test::addColumns<QString, QByteArray, bool>("file", "format", "qtAppliesMask");

    // Qt's ICO reader ignores the AND mask of 16-, 24- and 32-bit images, so for zelvo.ico
    // only the mask in the file is checked.
    QTest::newRow("zelvo.ico") << "zelvo.ico" << QByteArray("ico") << false;
    QTest::newRow("tray.ico") << "tray.ico" << QByteArray("ico") << true;
    QTest::newRow("trayflash.ico") << "trayflash.ico" << QByteArray("ico") << true;
    QTest::newRow("mail.ico") << "mail.ico" << QByteArray("ico") << true;
    QTest::newRow("hand.cur") << "hand.cur" << QByteArray("cur") << true;
    for (const auto& [file, size] : themeIcons())
        QTest::newRow(qPrintable(file)) << file << QByteArray("png") << true;
}

void TestArtwork::transparentCorners()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, format);
    QFETCH(bool, qtAppliesMask);

    const QByteArray bytes = readResource(file);
    const std::optional<IconFileInfo> info = format == "png" ? std::nullopt : parseIconFile(bytes);
    const QList<QImage> images = decodeAll(file, format);
    QVERIFY(!images.isEmpty());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QImage image = images.at(i).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!image.isNull());
        const int w = image.width();
        const int h = image.height();
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)}) {
            if (info)
                QVERIFY(masked(bytes, info->images.at(i), corner.x(), corner.y()));
            if (qtAppliesMask)
                QCOMPARE(qAlpha(image.pixel(corner)), 0);
        }
        if (info)
            QVERIFY(!masked(bytes, info->images.at(i), w / 2, h / 2));
        if (qtAppliesMask)
            QCOMPARE(qAlpha(image.pixel(w / 2, h / 2)), 255);
    }
}

void TestArtwork::cursorHotSpotIsOnTheFingertip()
{
    const QImage hand = QImageReader(resourcePath(QStringLiteral("hand.cur")), "cur")
                            .read()
                            .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(hand.size(), QSize(32, 32));
    const std::optional<IconFileInfo> info =
        parseIconFile(readResource(QStringLiteral("hand.cur")));
    QVERIFY(info.has_value() && info->images.size() == 1);
    const QPoint hotSpot(info->images.first().planesOrHotSpotX,
                         info->images.first().bitCountOrHotSpotY);

    // The hot spot sits on the black outline at the top of the raised finger, with nothing
    // drawn above it.
    QCOMPARE(hand.pixel(hotSpot), qRgb(0, 0, 0));
    for (int y = 0; y < hotSpot.y(); ++y)
        QCOMPARE(qAlpha(hand.pixel(hotSpot.x(), y)), 0);
    int topmost = hand.height();
    for (int y = 0; y < hand.height() && topmost == hand.height(); ++y)
        for (int x = 0; x < hand.width(); ++x)
            if (qAlpha(hand.pixel(x, y)) != 0)
                topmost = y;
    QCOMPARE(topmost, hotSpot.y());
    QCOMPARE(hand.pixel(hotSpot + QPoint(0, 1)), qRgb(255, 255, 255)); // the white finger
}

void TestArtwork::gifPaletteAndTransparency()
{
    const QByteArray bytes = readResource(QStringLiteral("apply.gif"));
    const std::optional<GifInfo> info = parseGif(bytes);
    QVERIFY2(info.has_value(), "broken GIF block structure");
    QVERIFY(info->trailer);
    QCOMPARE(info->screen, QSize(62, 43));
    QCOMPARE(info->frame, QRect(0, 0, 62, 43));
    QCOMPARE(info->globalTable.size(), 4);
    QVERIFY2(info->transparentIndex >= 0, "no Graphic Control Extension with a transparent index");
    QVERIFY(info->transparentIndex < 4);
    QCOMPARE(info->globalTable.at(info->transparentIndex), qRgb(0x47, 0x47, 0x47));

    const QImage image = QImage(resourcePath(QStringLiteral("apply.gif")), "gif")
                             .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(62, 43));
    int green = 0;
    int transparent = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0)
                ++transparent;
            else if (pixel == qRgb(0x00, 0xff, 0x80))
                ++green;
            else
                QVERIFY2(qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)) != qRgb(0x47, 0x47, 0x47),
                         "the ground colour shows as opaque");
        }
    }
    QVERIFY(green > 0);
    QVERIFY(transparent > image.width() * image.height() / 2);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void TestArtwork::colourChannelsInRightOrder_data()
{
    zelvo::test::addColumns<QString, QByteArray, QPoint, QColor, int>("file", "format", "at",
                                                                      "colour", "tolerance");

    // A swapped red and blue, or a wrong palette, would show here first.
    QTest::newRow("options ground")
        << "options.bmp" << QByteArray("bmp") << QPoint(0, 0) << QColor(0x47, 0x47, 0x47) << 0;
    QTest::newRow("help ground") << "help.bmp" << QByteArray("bmp") << QPoint(96, 22)
                                 << QColor(0x47, 0x47, 0x47) << 0;
    QTest::newRow("options bar is blue")
        << "options.bmp" << QByteArray("bmp") << QPoint(6, 16) << QColor(0x10, 0x1c, 0x60) << 40;
    QTest::newRow("tray edge is dark blue")
        << "tray.ico" << QByteArray("ico") << QPoint(0, 8) << QColor(0x00, 0x00, 0x80) << 0;
    QTest::newRow("tray square is grey")
        << "tray.ico" << QByteArray("ico") << QPoint(7, 7) << QColor(0xc0, 0xc0, 0xc0) << 0;
    QTest::newRow("flash edge is yellow")
        << "trayflash.ico" << QByteArray("ico") << QPoint(0, 8) << QColor(0xff, 0xff, 0x00) << 0;
    QTest::newRow("flash tile is red")
        << "trayflash.ico" << QByteArray("ico") << QPoint(10, 10) << QColor(0xff, 0x00, 0x00) << 0;
    QTest::newRow("browse ground is red")
        << "browse.jpg" << QByteArray("jpeg") << QPoint(10, 1) << QColor(0xe0, 0x34, 0x26) << 40;
    QTest::newRow("hand cuff is blue")
        << "hand.cur" << QByteArray("cur") << QPoint(16, 26) << QColor(0x00, 0x00, 0xff) << 0;
}

void TestArtwork::colourChannelsInRightOrder()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, format);
    QFETCH(QPoint, at);
    QFETCH(QColor, colour);
    QFETCH(int, tolerance);

    const QImage image =
        QImageReader(resourcePath(file), format).read().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(image.valid(at));
    const QRgb pixel = image.pixel(at);
    QCOMPARE(qAlpha(pixel), 255);
    QVERIFY2(colourDistance(pixel, colour.rgb()) <= tolerance,
             qPrintable(
                 QStringLiteral("found %1, expected %2").arg(QColor(pixel).name(), colour.name())));
}

void TestArtwork::programReadsIconsWithMasks_data()
{
    zelvo::test::addColumns<QString, QByteArray>("file", "format");
    QTest::newRow("zelvo.ico, 24-bit") << "zelvo.ico" << QByteArray("ico");
    QTest::newRow("tray.ico, 16 colours") << "tray.ico" << QByteArray("ico");
    QTest::newRow("trayflash.ico, 16 colours") << "trayflash.ico" << QByteArray("ico");
    QTest::newRow("mail.ico") << "mail.ico" << QByteArray("ico");
    QTest::newRow("hand.cur") << "hand.cur" << QByteArray("cur");
    for (const char* file : {"zelvo@2x.ico", "tray@2x.ico", "trayflash@2x.ico", "mail@2x.ico"})
        QTest::newRow(file) << file << QByteArray("ico");
    QTest::newRow("hand@2x.cur") << "hand@2x.cur" << QByteArray("cur");
}

// The program reads icons and cursors from their PNG twins: every image at its size, the mask as
// transparency, and the colours Qt's icon reader finds where the mask leaves the image opaque.
void TestArtwork::programReadsIconsWithMasks()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, format);

    const QByteArray bytes = readResource(file);
    const std::optional<IconFileInfo> info = parseIconFile(bytes);
    QVERIFY(info.has_value());
    const QList<QImage> images = twins(file);
    const QList<QImage> qtImages = decodeAll(file, format);
    QCOMPARE(images.size(), info->images.size());
    QCOMPARE(qtImages.size(), images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const IconImageInfo& entry = info->images.at(i);
        const QImage image = images.at(i).convertToFormat(QImage::Format_ARGB32);
        const QImage qtImage = qtImages.at(i).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(entry.width, entry.height));
        for (int y = 0; y < entry.height; ++y) {
            for (int x = 0; x < entry.width; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (masked(bytes, entry, x, y)) {
                    QCOMPARE(qAlpha(pixel), 0);
                } else {
                    QCOMPARE(qAlpha(pixel), 255);
                    QCOMPARE(QColor(pixel).name(), QColor(qtImage.pixel(x, y)).name());
                }
            }
        }
    }

    // The artwork the windows use goes through the same reading; they name the declared files.
    if (file.contains(QLatin1String("@2x")))
        return;
    const QIcon icon = zelvo::artwork::icon(QStringLiteral(":/zelvo/") + file);
    QVERIFY(icon.availableSizes().size() >= images.size());
    const QImage smallest = icon.pixmap(icon.availableSizes().constFirst()).toImage();
    QCOMPARE(qAlpha(smallest.pixel(0, 0)), 0);
}

void TestArtwork::loaderTakesTheDrawingForTheRatio_data()
{
    QTest::addColumn<QString>("path");
    for (const char* path :
         {zelvo::artwork::ProgramIcon, zelvo::artwork::Title, zelvo::artwork::BrowseArrows,
          zelvo::artwork::Options, zelvo::artwork::Help, zelvo::artwork::TrayIcon,
          zelvo::artwork::TrayFlashIcon, zelvo::artwork::Apply, zelvo::artwork::MailIcon,
          zelvo::artwork::PointingHand, zelvo::artwork::About}) {
        QTest::newRow(path) << QString::fromLatin1(path);
    }
}

// At ratio 1 exactly the declared picture; above it the drawing at twice the size, which Qt
// then shows at the declared size.
void TestArtwork::loaderTakesTheDrawingForTheRatio()
{
    QFETCH(const QString, path);
    const QString file = path.section(QLatin1Char('/'), -1);
    const auto firstImage = [](const QString& name) {
        const QByteArray bytes = readResource(name);
        const QList<QImage> icons = twins(name);
        const QImage image = icons.isEmpty() ? QImage::fromData(bytes) : icons.first();
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const auto pixels = [](const QPixmap& pixmap) {
        QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(1.0);
        return image;
    };

    const QPixmap declared = zelvo::artwork::pixmap(path, 1.0);
    QCOMPARE(declared.devicePixelRatio(), 1.0);
    QCOMPARE(pixels(declared), firstImage(file));

    for (const qreal ratio : {1.5, 2.0}) {
        const QPixmap drawn = zelvo::artwork::pixmap(path, ratio);
        QCOMPARE(drawn.devicePixelRatio(), 2.0);
        QCOMPARE(drawn.deviceIndependentSize(), QSizeF(declared.size()));
        QCOMPARE(pixels(drawn), firstImage(doubleSize(file)));
    }

    const int images = qMax(1, int(twins(file).size()));
    QCOMPARE(zelvo::artwork::icon(path, 1.0).availableSizes().size(), images);
    QCOMPARE(zelvo::artwork::icon(path, 2.0).availableSizes().size(), 2 * images);
}

// The windows' icon holds the program icon at every size installed for the desktop, each as
// drawn for that size.
void TestArtwork::windowIconHoldsEveryInstalledSize()
{
    for (const qreal ratio : {1.0, 2.0}) {
        const QIcon icon =
            zelvo::artwork::windowIcon(QLatin1String(zelvo::artwork::ProgramIcon), ratio);
        const QList<QSize> sizes = icon.availableSizes();
        for (const auto& [file, size] : themeIcons()) {
            if (!file.endsWith(QLatin1String("/org.zelvo.Zelvo.png")))
                continue;
            QVERIFY2(sizes.contains(size), qPrintable(file));
            const bool declared = size == QSize(16, 16) || size == QSize(32, 32);
            if (ratio == 1.0 && !declared)
                QCOMPARE(icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32),
                         QImage(resourcePath(file)).convertToFormat(QImage::Format_ARGB32));
        }
    }
}

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
