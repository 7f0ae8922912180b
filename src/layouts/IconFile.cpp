#include "IconFile.h"

#include "pictures/ByteFields.h"

#include <QBuffer>
#include <QImageReader>

namespace zelvo {

namespace {

constexpr qsizetype DirectorySize = 6;
constexpr qsizetype EntrySize = 16;
constexpr qsizetype InfoHeaderSize = 40;
constexpr int LargestSide = 256;

[[nodiscard]] constexpr qsizetype rowStride(qsizetype width, int bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

// One image of the file: its bitmap header, colour table, colour bits and mask.
[[nodiscard]] QImage readImage(const QByteArray& file, qsizetype offset, qsizetype length)
{
    if (length < InfoHeaderSize || offset < 0 || offset > file.size() - length)
        return {};
    QByteArray bitmap = file.mid(offset, length);
    const qint32 width = qint32(le32At(bitmap, 4));
    const qint32 doubledHeight = qint32(le32At(bitmap, 8));
    const int bitCount = le16At(bitmap, 14);
    const quint32 coloursUsed = le32At(bitmap, 32);
    if (le32At(bitmap, 0) != InfoHeaderSize || le16At(bitmap, 12) != 1 || le32At(bitmap, 16) != 0 ||
        width < 1 || width > LargestSide || doubledHeight < 2 || doubledHeight % 2 != 0 ||
        doubledHeight / 2 > LargestSide)
        return {};
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)
        return {};
    const qsizetype tableSize = bitCount == 24 ? 0 : qsizetype(1) << bitCount;
    if (coloursUsed > quint32(tableSize))
        return {};
    const int height = doubledHeight / 2;
    const qsizetype colours = coloursUsed ? qsizetype(coloursUsed) : tableSize;
    const qsizetype maskStart = InfoHeaderSize + colours * 4 + rowStride(width, bitCount) * height;
    const qsizetype maskStride = rowStride(width, 1);
    if (maskStart + maskStride * height > length)
        return {};

    // The header counts the colour bits and the mask together; the reader is to see one bitmap.
    qToLittleEndian<qint32>(height, bitmap.data() + 8);
    QBuffer source(&bitmap);
    QImageReader reader(&source, "dib");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull() || image.size() != QSize(width, height))
        return {};
    image = std::move(image).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom up.
        const auto* mask = reinterpret_cast<const uchar*>(bitmap.constData() + maskStart +
                                                          maskStride * (height - 1 - y));
        auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (mask[x / 8] & (0x80 >> (x % 8)))
                pixels[x] = 0;
        }
    }
    return image;
}

} // namespace

QList<QImage> readIconFile(const QByteArray& file)
{
    if (file.size() < DirectorySize || le16At(file, 0) != 0 ||
        (le16At(file, 2) != 1 && le16At(file, 2) != 2))
        return {};
    const int count = le16At(file, 4);
    if (count < 1 || file.size() < DirectorySize + EntrySize * count)
        return {};
    QList<QImage> images;
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = DirectorySize + EntrySize * i;
        const QImage image = readImage(file, le32At(file, entry + 12), le32At(file, entry + 8));
        if (image.isNull())
            return {};
        images.push_back(image);
    }
    return images;
}

} // namespace zelvo
