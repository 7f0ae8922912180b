#pragma once

#include "ByteWalk.h"
#include "PictureBudget.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace zelvo {

// What a reader will allocate for a picture, found from the file's headers the way the reader
// itself reads them, which is not always the size it reports.
struct DecodedSize
{
    qint64 width = 0;
    qint64 height = 0;
    // The memory the reader takes for it, conversions included.
    qint64 bytes = 0;
    // The pixels the reader computes, shown or not: for a GIF, its first picture's, which may
    // reach far past the screen.
    qint64 pixelsComputed = 0;
    friend bool operator==(const DecodedSize&, const DecodedSize&) = default;
};

// The format the leading bytes belong to: "bmp", "jpeg", "gif", "ico", "png", "webp", "tiff" or
// "svg"; nothing for others.
[[nodiscard]] std::optional<QByteArray> pictureFormatOf(QByteArrayView head);

// A bitmap: a top-down bitmap's negative height is as tall as a positive one.
[[nodiscard]] std::optional<DecodedSize> bitmapDecodedSize(QByteArrayView head);

// Where the first picture of a GIF lies, found by walking the file's blocks from its start,
// however far the extensions before the picture reach.
struct GifLayout
{
    qint64 screenWidth = 0;
    qint64 screenHeight = 0;
    qint64 left = 0;
    qint64 top = 0;
    qint64 width = 0;
    qint64 height = 0;
    // The last graphic control before the picture asks for its area to be restored after it.
    bool restore = false;
    // Where its data begins: the byte giving the code size, then the sub-blocks.
    qint64 dataAt = 0;
};

// Nothing when the bytes are not a GIF, or end or break off before its first picture.
[[nodiscard]] std::optional<GifLayout> gifLayout(ByteWalk& bytes);

// The logical screen, whatever the size of the picture on it (the picture's extent for a screen
// of no size); with a copy of the picture's area when it is to be restored afterwards.
[[nodiscard]] DecodedSize gifDecodedSize(const GifLayout& layout);
[[nodiscard]] std::optional<DecodedSize> gifDecodedSize(QByteArrayView file);

// The bytes of a GIF's global or local colour table, by the flags of the block it follows.
[[nodiscard]] constexpr qint64 gifColourTableBytes(uchar flags)
{
    return (flags & 0x80) ? 3 * (2 << (flags & 7)) : 0;
}

// Just past the empty sub-block that ends the chain of GIF sub-blocks at at; -1 when the bytes end
// first, or the chain goes on past limit.
[[nodiscard]] qint64 gifSubBlocksEnd(ByteWalk& bytes, qint64 at, qint64 limit = Unbounded);

// An icon: the largest picture inside it, by the headers of the bitmaps and PNG pictures
// themselves, not by the directory's entries, which cannot say more than 256.
[[nodiscard]] std::optional<DecodedSize> iconDecodedSize(QByteArrayView file);

// A PNG, by its header: 16-bit channels are kept at 8 bytes a pixel.
[[nodiscard]] std::optional<DecodedSize> pngDecodedSize(QByteArrayView head);

// The most a PNG reader unpacks from one compressed colour profile (libpng's limit for the memory
// of one chunk), before any pixel.
inline constexpr qint64 PngUnpackedChunkBytes = 8'000'000;

// What the chunks of a PNG hold beside its pixels, walked over their headers to the end.
struct PngChunks
{
    // What the reader unpacks into memory: the one colour profile it is handed (texts and the
    // like never reach it; see PngDisplayDevice).
    qint64 unpacked = 0;
    // The file ends with the end chunk, as a file written to its end does.
    bool complete = false;
};
// Nothing when the chain of chunks breaks off, or the walk is to stop.
[[nodiscard]] std::optional<PngChunks> pngChunks(ByteWalk& file);

// A WebP, by its first chunk: a still picture, or an animation's canvas. Decoded at 4 bytes a
// pixel beside the decoder's own plane of a lossless picture; an animation also keeps the
// canvas its first frame is laid on.
[[nodiscard]] std::optional<DecodedSize> webpDecodedSize(QByteArrayView head);

// The bytes a WebP's container says it holds, its 8-byte header included.
[[nodiscard]] std::optional<qint64> webpDeclaredBytes(QByteArrayView head);

// The bitmap's bits per pixel, 0 when the header cannot be read.
[[nodiscard]] int bitmapBitCount(QByteArrayView head);

} // namespace zelvo
