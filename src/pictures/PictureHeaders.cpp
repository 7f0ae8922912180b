#include "PictureHeaders.h"

#include "ByteFields.h"
#include "PictureBudget.h"
#include "SvgDocument.h"
#include "TiffHeaders.h"

#include <algorithm>

namespace zelvo {

namespace {

// width x height x bytesEach, stopping at Unbounded instead of overflowing.
[[nodiscard]] qint64 bytesOf(qint64 width, qint64 height, qint64 bytesEach)
{
    if (width <= 0 || height <= 0 || bytesEach <= 0)
        return 0;
    if (width > Unbounded / height / bytesEach)
        return Unbounded;
    return width * height * bytesEach;
}

constexpr qsizetype BitmapFileHeader = 14;
const QByteArrayView PngSignature("\x89PNG\r\n\x1a\n", 8);

// A device-independent bitmap's header: width, height as stored, bits per pixel.
struct DibHeader
{
    qint64 width;
    qint64 height;
    int bitCount;
};

[[nodiscard]] std::optional<DibHeader> dibHeader(QByteArrayView bytes, qsizetype at)
{
    if (at < 0 || bytes.size() - at < 16)
        return std::nullopt;
    const quint32 size = le32At(bytes, at);
    // The old OS/2 header stores 16-bit sizes.
    if (size == 12)
        return DibHeader{le16At(bytes, at + 4), le16At(bytes, at + 6), int(le16At(bytes, at + 10))};
    if (size < 16)
        return std::nullopt;
    return DibHeader{qint32(le32At(bytes, at + 4)), qint32(le32At(bytes, at + 8)),
                     int(le16At(bytes, at + 14))};
}

[[nodiscard]] DecodedSize iconEntrySize(QByteArrayView bytes, qsizetype at)
{
    if (bytes.size() - at >= 26 && bytes.sliced(at, 8) == PngSignature) {
        const qint64 width = be32At(bytes, at + 16);
        const qint64 height = be32At(bytes, at + 20);
        const int depth = uchar(bytes[at + 24]);
        // Decoded at 8 bytes a pixel for 16-bit channels, then converted for the icon.
        const qint64 pixel = depth > 8 ? 8 : 4;
        return {width, height, bytesOf(width, height, pixel + 4)};
    }
    const std::optional<DibHeader> dib = dibHeader(bytes, at);
    if (!dib)
        return {};
    // The stored height covers the colours and the transparency mask below them.
    const qint64 width = std::abs(dib->width);
    const qint64 height = std::abs(dib->height) / 2;
    // The colours, the colours converted to take the mask, and the mask (a byte a pixel, above
    // its bit).
    return {width, height, bytesOf(width, height, 9)};
}

} // namespace

std::optional<QByteArray> pictureFormatOf(QByteArrayView head)
{
    if (head.startsWith(QByteArrayView("BM")))
        return QByteArray("bmp");
    if (head.startsWith(QByteArrayView("\xff\xd8", 2)))
        return QByteArray("jpeg");
    if (head.startsWith(QByteArrayView("GIF8")))
        return QByteArray("gif");
    if (head.size() >= 4 && le16At(head, 0) == 0 && (le16At(head, 2) == 1 || le16At(head, 2) == 2))
        return QByteArray("ico");
    if (head.startsWith(PngSignature))
        return QByteArray("png");
    if (webpDeclaredBytes(head))
        return QByteArray("webp");
    if (isTiff(head))
        return QByteArray("tiff");
    if (looksLikeSvg(head))
        return QByteArray("svg");
    return std::nullopt;
}

int bitmapBitCount(QByteArrayView head)
{
    const std::optional<DibHeader> dib = dibHeader(head, BitmapFileHeader);
    return dib ? dib->bitCount : 0;
}

std::optional<DecodedSize> bitmapDecodedSize(QByteArrayView head)
{
    if (!head.startsWith(QByteArrayView("BM")))
        return std::nullopt;
    const std::optional<DibHeader> dib = dibHeader(head, BitmapFileHeader);
    if (!dib)
        return std::nullopt;
    const qint64 width = std::abs(dib->width);
    const qint64 height = std::abs(dib->height);
    // Up to 8 bits a pixel the reader keeps the colour indices, a byte each; else 32 bits.
    return DecodedSize{width, height, bytesOf(width, height, dib->bitCount <= 8 ? 1 : 4)};
}

std::optional<GifLayout> gifLayout(ByteWalk& bytes)
{
    if (bytes.at(0) != 'G' || bytes.at(1) != 'I' || bytes.at(2) != 'F' || bytes.at(3) != '8')
        return std::nullopt;
    const std::optional<quint16> screenWidth = bytes.le16At(6);
    const std::optional<quint16> screenHeight = bytes.le16At(8);
    const std::optional<uchar> flags = bytes.at(10);
    if (!flags)
        return std::nullopt;
    GifLayout layout{.screenWidth = *screenWidth, .screenHeight = *screenHeight};
    qint64 at = 13 + gifColourTableBytes(*flags);
    // Through the extensions before the first picture.
    while (bytes.at(at) == '!') {
        const std::optional<uchar> label = bytes.at(at + 1);
        const std::optional<uchar> size = bytes.at(at + 2);
        const std::optional<uchar> packed = bytes.at(at + 3);
        if (label == 0xf9 && size >= 1 && packed)
            layout.restore = ((*packed >> 2) & 7) == 3;
        at = gifSubBlocksEnd(bytes, at + 2);
        if (at < 0)
            return std::nullopt;
    }
    const std::optional<quint16> left = bytes.le16At(at + 1);
    const std::optional<quint16> top = bytes.le16At(at + 3);
    const std::optional<quint16> width = bytes.le16At(at + 5);
    const std::optional<quint16> height = bytes.le16At(at + 7);
    const std::optional<uchar> pictureFlags = bytes.at(at + 9);
    if (bytes.at(at) != ',' || !left || !top || !width || !height || !pictureFlags)
        return std::nullopt;
    layout.left = *left;
    layout.top = *top;
    layout.width = *width;
    layout.height = *height;
    layout.dataAt = at + 10 + gifColourTableBytes(*pictureFlags);
    return layout;
}

DecodedSize gifDecodedSize(const GifLayout& layout)
{
    // A picture reaching past the screen does not widen it; a screen of no size takes the
    // picture's extent.
    const qint64 decodedWidth =
        layout.screenWidth > 0 ? layout.screenWidth : layout.left + layout.width;
    const qint64 decodedHeight =
        layout.screenHeight > 0 ? layout.screenHeight : layout.top + layout.height;
    qint64 bytes = bytesOf(decodedWidth, decodedHeight, 4);
    if (layout.restore)
        bytes += bytesOf(std::min(layout.width, decodedWidth),
                         std::min(layout.height, decodedHeight), 4);
    return DecodedSize{decodedWidth, decodedHeight, bytes, layout.width * layout.height};
}

std::optional<DecodedSize> gifDecodedSize(QByteArrayView file)
{
    ByteWalk bytes(file);
    if (const std::optional<GifLayout> layout = gifLayout(bytes))
        return gifDecodedSize(*layout);
    return std::nullopt;
}

qint64 gifSubBlocksEnd(ByteWalk& bytes, qint64 at, qint64 limit)
{
    while (at < limit) {
        const std::optional<uchar> size = bytes.at(at);
        if (!size)
            return -1;
        at += 1 + *size;
        if (*size == 0)
            return at;
    }
    return -1;
}

std::optional<DecodedSize> pngDecodedSize(QByteArrayView head)
{
    // The header chunk comes first: its length, type, then width, height and bit depth.
    if (head.size() < 8 + 8 + 13 || !head.startsWith(PngSignature) ||
        head.sliced(12, 4) != QByteArrayView("IHDR"))
        return std::nullopt;
    const qint64 width = be32At(head, 16);
    const qint64 height = be32At(head, 20);
    const int depth = uchar(head[24]);
    return DecodedSize{width, height, bytesOf(width, height, depth > 8 ? 8 : 4),
                       bytesOf(width, height, 1)};
}

std::optional<PngChunks> pngChunks(ByteWalk& file)
{
    const auto be32 = [&file](qint64 at) -> std::optional<quint32> {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::optional<uchar> byte = file.at(at + i);
            if (!byte)
                return std::nullopt;
            value = value << 8 | *byte;
        }
        return value;
    };
    constexpr quint32 End = 0x49454e44;     // IEND
    constexpr quint32 Profile = 0x69434350; // iCCP
    PngChunks chunks;
    for (qint64 at = 8; at < file.size();) {
        const std::optional<quint32> length = be32(at);
        const std::optional<quint32> type = be32(at + 4);
        // A chunk's length is at most 2^31 - 1.
        if (!length || !type || *length > 0x7fffffffu)
            return std::nullopt;
        if (*type == Profile)
            chunks.unpacked = PngUnpackedChunkBytes;
        at += 12 + qint64(*length);
        if (*type == End) {
            chunks.complete = at <= file.size();
            break;
        }
    }
    return chunks;
}

std::optional<qint64> webpDeclaredBytes(QByteArrayView head)
{
    if (head.size() < 12 || !head.startsWith(QByteArrayView("RIFF")) ||
        head.sliced(8, 4) != QByteArrayView("WEBP"))
        return std::nullopt;
    return qint64(le32At(head, 4)) + 8;
}

std::optional<DecodedSize> webpDecodedSize(QByteArrayView head)
{
    // The first chunk's header and the fields of it read below.
    if (head.size() < 30 || !webpDeclaredBytes(head))
        return std::nullopt;
    const QByteArrayView chunk = head.sliced(12, 4);
    const auto le24 = [head](qsizetype at) { return le32At(head, at) & 0xffffff; };
    qint64 width = 0;
    qint64 height = 0;
    bool animated = false;
    if (chunk == QByteArrayView("VP8X")) {
        // The canvas, whatever the frames on it say.
        animated = head[20] & 0x02;
        width = 1 + qint64(le24(24));
        height = 1 + qint64(le24(27));
    } else if (chunk == QByteArrayView("VP8L") && uchar(head[20]) == 0x2f) {
        const quint32 bits = le32At(head, 21);
        width = 1 + qint64(bits & 0x3fff);
        height = 1 + qint64((bits >> 14) & 0x3fff);
    } else if (chunk == QByteArrayView("VP8 ") &&
               head.sliced(23, 3) == QByteArrayView("\x9d\x01\x2a", 3)) {
        width = le16At(head, 26) & 0x3fff;
        height = le16At(head, 28) & 0x3fff;
    } else {
        return std::nullopt;
    }
    return DecodedSize{width, height, bytesOf(width, height, animated ? 12 : 8),
                       bytesOf(width, height, 1)};
}

std::optional<DecodedSize> iconDecodedSize(QByteArrayView file)
{
    if (file.size() < 6 || le16At(file, 0) != 0 || (le16At(file, 2) != 1 && le16At(file, 2) != 2))
        return std::nullopt;
    const qsizetype count = le16At(file, 4);
    DecodedSize largest;
    for (qsizetype entry = 0; entry < count && 6 + 16 * (entry + 1) <= file.size(); ++entry) {
        const qint64 offset = le32At(file, 6 + 16 * entry + 12);
        if (offset >= file.size())
            continue;
        const DecodedSize size = iconEntrySize(file, qsizetype(offset));
        if (size.bytes > largest.bytes)
            largest = size;
    }
    return largest;
}

} // namespace zelvo
