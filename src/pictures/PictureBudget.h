#pragma once

#include <QtGlobal>

namespace zelvo {

// The most memory the whole load of one picture may take: the file's bytes held in memory, the
// decoder's own working memory, the decoded picture and any reduced copy of it.
inline constexpr int PictureAllocationLimitMB = 256;
inline constexpr qint64 PictureBudgetBytes = qint64(PictureAllocationLimitMB) * 1024 * 1024;

// The work one load may do, as processor time of the thread that loads, before what its picture
// justifies: a small picture's whole decode on a slow machine, with room to spare. A load that
// has done more than it may is a picture that cannot be loaded. Processor time rather than time
// on the clock, so that a busy machine or a slow disk does not turn a sound picture away; a
// caller that must have an answer by a time gives the load a deadline of its own.
inline constexpr int PictureWorkLimitMs = 1500;

// The work a picture justifies beyond that, about three times what it takes here, so that a large
// sound picture loads however long that takes, while work out of proportion to it ends soon.
// A JPEG's decoding is in its coded data: each byte of it the decoder takes in adds this much
// (a scan of a few bytes that walks every block of a huge picture earns nothing).
inline constexpr qint64 JpegWorkNsPerCodedByte = 100;
// The other readers' work is in the pixels they write: each byte of the decoded picture adds this.
inline constexpr qint64 ReaderWorkNsPerDecodedByte = 10;

// A size far past any file that can be read or any budget: computed sizes stop here instead of
// overflowing.
inline constexpr qint64 Unbounded = qint64(1) << 60;

// The most scans a JPEG may hold. Encoders write one scan for a sequential picture, three for
// one with a scan per colour, and 6 to 10 for a progressive one (libjpeg's and Photoshop's
// progressions; mozjpeg's chosen scans stay under 20). Each scan is a pass over the whole
// picture, so a file of thousands of empty scans would keep the decoder busy for minutes.
inline constexpr int MaxJpegScans = 40;

// How often a JPEG's scans may go over its coefficients in all, as passes over every coefficient
// of every block: one for a sequential picture, three for libjpeg's progressions, four for
// mozjpeg's. Each scan costs a walk over its blocks even when its data is a few bytes of
// end-of-band runs, so a small file of many refinement scans would take seconds.
inline constexpr int MaxJpegCoefficientPasses = 8;

// How far into a JPEG its frame header may lie, past the metadata segments before it.
inline constexpr qint64 JpegHeaderBytes = 16 * 1024 * 1024;

// The bytes read first from any picture, in which its headers are looked for.
inline constexpr qint64 PictureHeadBytes = 64 * 1024;

// The largest icon file: a few dozen pictures of up to 256 x 256.
inline constexpr qint64 MaxIconFileBytes = 16 * 1024 * 1024;

// Room for metadata, colour profiles and padding in a file beside its picture data.
inline constexpr qint64 FileSlackBytes = 1024 * 1024;

// The most bytes a JPEG of this many pixels can honestly take: even noise at the highest quality
// and no subsampling compresses to under 4 bytes a pixel; twice that, plus the metadata allowed
// before the frame.
[[nodiscard]] constexpr qint64 honestJpegBytes(qint64 width, qint64 height)
{
    return JpegHeaderBytes + 8 * width * height;
}

// The fewest bytes a complete JPEG of that many blocks can take: every block's DC coefficient is
// coded, in at least a bit with Huffman coding and in at least 1/65536 of a bit with arithmetic
// coding, whose least likely decision is never given less than 1/65536 of the range. Fewer bytes
// than that, and the file is cut short.
[[nodiscard]] constexpr qint64 leastJpegBytes(qint64 blocks, bool arithmetic)
{
    return arithmetic ? blocks / (8 * 65536) : blocks / 8;
}

// The most bytes a bitmap can honestly take: its rows uncompressed, or run-length coded at worst
// twice that, after its headers and colour table.
[[nodiscard]] constexpr qint64 honestBitmapBytes(qint64 width, qint64 height, int bitCount)
{
    const qint64 stride = ((width * qMax(bitCount, 1) + 31) / 32) * 4;
    if (stride > 0 && height > Unbounded / (2 * stride))
        return Unbounded;
    return FileSlackBytes + 2 * stride * height;
}

} // namespace zelvo
