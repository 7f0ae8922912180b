#include "writers.h"

#include "palette.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace zelvo::art {
namespace {

constexpr int kOpaqueAlpha = 128;

// Little-endian byte sink.
class ByteWriter
{
public:
    void u8(int value) { data_.append(static_cast<char>(value & 0xff)); }
    void u16(int value)
    {
        u8(value);
        u8(value >> 8);
    }
    void u32(quint32 value)
    {
        u16(static_cast<int>(value & 0xffff));
        u16(static_cast<int>(value >> 16));
    }
    void append(const QByteArray& bytes) { data_.append(bytes); }
    [[nodiscard]] const QByteArray& data() const { return data_; }

private:
    QByteArray data_;
};

[[nodiscard]] int nearestVgaIndex(QRgb colour)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < static_cast<int>(kVgaPalette.size()); ++i) {
        const QRgb entry = kVgaPalette[static_cast<std::size_t>(i)];
        const int dr = qRed(colour) - qRed(entry);
        const int dg = qGreen(colour) - qGreen(entry);
        const int db = qBlue(colour) - qBlue(entry);
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

// The index of a colour taken from the VGA palette.
[[nodiscard]] int vgaIndex(QRgb colour)
{
    const auto* entry = std::find(kVgaPalette.begin(), kVgaPalette.end(), colour);
    return static_cast<int>(entry - kVgaPalette.begin());
}

[[nodiscard]] constexpr int rowStride(int width, int bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

// BITMAPINFOHEADER (height doubled), palette, XOR bitmap and AND mask, rows bottom-up.
[[nodiscard]] QByteArray iconBitmap(const IconImage& icon)
{
    const QImage image = storedIconImage(icon);
    const int width = image.width();
    const int height = image.height();
    const bool paletted = icon.bitCount == 4;
    const int xorStride = rowStride(width, icon.bitCount);
    const int andStride = rowStride(width, 1);

    ByteWriter out;
    out.u32(40);
    out.u32(static_cast<quint32>(width));
    out.u32(static_cast<quint32>(height * 2));
    out.u16(1);
    out.u16(icon.bitCount);
    out.u32(0); // BI_RGB
    out.u32(static_cast<quint32>((xorStride + andStride) * height));
    out.u32(0);
    out.u32(0);
    out.u32(paletted ? 16 : 0);
    out.u32(0);
    if (paletted) {
        for (const QRgb entry : kVgaPalette) {
            out.u8(qBlue(entry));
            out.u8(qGreen(entry));
            out.u8(qRed(entry));
            out.u8(0);
        }
    }

    QByteArray andMask;
    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray xorRow(xorStride, '\0');
        QByteArray andRow(andStride, '\0');
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = line[x];
            if (qAlpha(pixel) == 0) {
                andRow[x / 8] = static_cast<char>(andRow[x / 8] | (0x80 >> (x % 8)));
                continue; // the XOR pixel stays black
            }
            if (paletted) {
                const int index = vgaIndex(pixel);
                const int shift = x % 2 == 0 ? 4 : 0;
                xorRow[x / 2] = static_cast<char>(xorRow[x / 2] | (index << shift));
            } else {
                xorRow[x * 3] = static_cast<char>(qBlue(pixel));
                xorRow[x * 3 + 1] = static_cast<char>(qGreen(pixel));
                xorRow[x * 3 + 2] = static_cast<char>(qRed(pixel));
            }
        }
        out.append(xorRow);
        andMask.append(andRow);
    }
    out.append(andMask);
    return out.data();
}

struct DirectoryEntry
{
    const IconImage* icon;
    int fieldA; // colour planes, or the hot spot x of a cursor
    int fieldB; // bits per pixel, or the hot spot y of a cursor
};

[[nodiscard]] QByteArray iconFile(int type, const QList<DirectoryEntry>& entries)
{
    constexpr int headerSize = 6;
    constexpr int entrySize = 16;
    std::vector<QByteArray> bitmaps;
    bitmaps.reserve(static_cast<std::size_t>(entries.size()));
    for (const DirectoryEntry& entry : entries)
        bitmaps.push_back(iconBitmap(*entry.icon));

    ByteWriter out;
    out.u16(0);
    out.u16(type);
    out.u16(static_cast<int>(entries.size()));
    quint32 offset = headerSize + entrySize * static_cast<quint32>(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const DirectoryEntry& entry = entries[i];
        const QImage& image = entry.icon->image;
        out.u8(image.width() >= 256 ? 0 : image.width());
        out.u8(image.height() >= 256 ? 0 : image.height());
        out.u8(entry.icon->bitCount == 4 ? 16 : 0);
        out.u8(0);
        out.u16(entry.fieldA);
        out.u16(entry.fieldB);
        const auto size = static_cast<quint32>(bitmaps[static_cast<std::size_t>(i)].size());
        out.u32(size);
        out.u32(offset);
        offset += size;
    }
    for (const QByteArray& bitmap : bitmaps)
        out.append(bitmap);
    return out.data();
}

// Packs variable-width codes LSB first and cuts them into GIF sub-blocks.
class CodeStream
{
public:
    void put(int code, int width)
    {
        buffer_ |= static_cast<quint32>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_.append(static_cast<char>(buffer_ & 0xff));
            buffer_ >>= 8;
            bits_ -= 8;
        }
    }

    [[nodiscard]] QByteArray subBlocks()
    {
        if (bits_ > 0) {
            bytes_.append(static_cast<char>(buffer_ & 0xff));
            buffer_ = 0;
            bits_ = 0;
        }
        QByteArray blocks;
        for (qsizetype pos = 0; pos < bytes_.size(); pos += 255) {
            const QByteArray chunk = bytes_.mid(pos, 255);
            blocks.append(static_cast<char>(chunk.size()));
            blocks.append(chunk);
        }
        blocks.append('\0');
        return blocks;
    }

private:
    QByteArray bytes_;
    quint32 buffer_ = 0;
    int bits_ = 0;
};

[[nodiscard]] QByteArray lzwCompress(const QImage& indexed, int minCodeSize)
{
    constexpr int maxCode = 4096;
    const int colours = 1 << minCodeSize;
    const int clearCode = colours;
    const int endCode = colours + 1;

    // table[code * colours + pixel] is the code for "code followed by pixel", or -1.
    std::vector<int> table(static_cast<std::size_t>(maxCode * colours), -1);
    int nextCode = endCode + 1;
    int width = minCodeSize + 1;
    CodeStream stream;
    stream.put(clearCode, width);

    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int pixel = line[x];
            if (prefix < 0) {
                prefix = pixel;
                continue;
            }
            const auto slot = static_cast<std::size_t>(prefix * colours + pixel);
            if (table[slot] >= 0) {
                prefix = table[slot];
                continue;
            }
            stream.put(prefix, width);
            if (nextCode < maxCode) {
                table[slot] = nextCode++;
                if (nextCode > (1 << width) && width < 12)
                    ++width;
            } else {
                stream.put(clearCode, width);
                std::fill(table.begin(), table.end(), -1);
                nextCode = endCode + 1;
                width = minCodeSize + 1;
            }
            prefix = pixel;
        }
    }
    if (prefix >= 0)
        stream.put(prefix, width);
    stream.put(endCode, width);
    return stream.subBlocks();
}

[[nodiscard]] QByteArray writeWithQt(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return bytes;
}

} // namespace

QImage storedIconImage(const IconImage& icon)
{
    QImage image = icon.image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            if (qAlpha(pixel) < kOpaqueAlpha)
                line[x] = 0;
            else if (icon.bitCount == 4)
                line[x] = kVgaPalette[static_cast<std::size_t>(nearestVgaIndex(pixel))];
            else
                line[x] = qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
        }
    }
    return image;
}

QByteArray encodeIcon(const QList<IconImage>& images)
{
    QList<DirectoryEntry> entries;
    for (const IconImage& image : images)
        entries.append({&image, 1, image.bitCount});
    return iconFile(1, entries);
}

QByteArray encodeCursor(const IconImage& image, QPoint hotSpot)
{
    return iconFile(2, {{&image, hotSpot.x(), hotSpot.y()}});
}

QByteArray encodeGif(const QImage& indexed, int transparentIndex)
{
    constexpr int tableSize = 4;
    constexpr int minCodeSize = 2;
    if (indexed.format() != QImage::Format_Indexed8 || indexed.colorCount() > tableSize ||
        transparentIndex < 0 || transparentIndex >= tableSize)
        return {};

    ByteWriter out;
    out.append(QByteArrayLiteral("GIF89a"));
    out.u16(indexed.width());
    out.u16(indexed.height());
    out.u8(0x80 | (1 << 4) | 1); // global table, 2-bit colour resolution, 4 entries
    out.u8(transparentIndex);    // background colour index
    out.u8(0);                   // no aspect ratio
    const QList<QRgb> colours = indexed.colorTable();
    for (int i = 0; i < tableSize; ++i) {
        const QRgb colour = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        out.u8(qRed(colour));
        out.u8(qGreen(colour));
        out.u8(qBlue(colour));
    }

    out.u8(0x21); // Graphic Control Extension
    out.u8(0xf9);
    out.u8(4);
    out.u8(0x01); // transparent colour flag
    out.u16(0);   // no delay
    out.u8(transparentIndex);
    out.u8(0);

    out.u8(0x2c); // image descriptor, no local table, not interlaced
    out.u16(0);
    out.u16(0);
    out.u16(indexed.width());
    out.u16(indexed.height());
    out.u8(0);

    out.u8(minCodeSize);
    out.append(lzwCompress(indexed, minCodeSize));
    out.u8(0x3b);
    return out.data();
}

QByteArray encodeBmp24(const QImage& image)
{
    QByteArray bytes = writeWithQt(image.convertToFormat(QImage::Format_RGB888), "BMP");
    constexpr int bitCountOffset = 28;
    if (bytes.size() < 30 || bytes[bitCountOffset] != 24 || bytes[bitCountOffset + 1] != 0)
        return {};
    return bytes;
}

QByteArray encodeJpeg(const QImage& image, int quality)
{
    return writeWithQt(image.convertToFormat(QImage::Format_RGB888), "JPG", quality);
}

QByteArray encodePng(const QImage& image)
{
    return writeWithQt(image, "PNG");
}

} // namespace zelvo::art
