#include "PictureCompleteness.h"

#include "ByteFields.h"
#include "PictureHeaders.h"

#include <algorithm>

namespace zelvo {

namespace {

constexpr qsizetype BitmapFileHeader = 14;
constexpr quint32 RunLength8 = 1;
constexpr quint32 RunLength4 = 2;

// Whether the run-length codes from at reach the end-of-picture code (0, 1) in the file.
[[nodiscard]] bool runsEnd(ByteWalk& file, qint64 at, bool fourBits)
{
    for (;;) {
        const std::optional<uchar> count = file.at(at);
        const std::optional<uchar> code = file.at(at + 1);
        if (!count || !code)
            return false;
        if (*count != 0 || *code == 0) {
            at += 2;
        } else if (*code == 1) {
            return true;
        } else if (*code == 2) {
            at += 4;
        } else {
            // That many pixels given one by one, padded to a whole number of 16-bit words.
            const qint64 bytes = fourBits ? (*code + 1) / 2 : *code;
            at += 2 + bytes + (bytes & 1);
        }
    }
}

} // namespace

bool bitmapDataEnds(ByteWalk& file, QByteArrayView head)
{
    if (head.size() < BitmapFileHeader + 16)
        return false;
    const quint32 headerSize = le32At(head, BitmapFileHeader);
    const bool old = headerSize == 12;
    if (!old && head.size() < BitmapFileHeader + 36)
        return false;
    const qint64 width = old ? le16At(head, 18) : std::abs(qint64(qint32(le32At(head, 18))));
    const qint64 height = old ? le16At(head, 20) : std::abs(qint64(qint32(le32At(head, 22))));
    const int bitCount = le16At(head, old ? 24 : 28);
    const quint32 compression = old ? 0 : le32At(head, 30);
    const quint32 coloursUsed = old || head.size() < BitmapFileHeader + 36 ? 0 : le32At(head, 46);
    // The data begins where the header points, or right after the colour table when the header
    // points into the headers, as the reader takes it.
    qint64 colourTable = 0;
    if (bitCount <= 8)
        colourTable = qint64(coloursUsed != 0 ? coloursUsed : 1u << bitCount) * (old ? 3 : 4);
    const qint64 dataAt = std::max<qint64>(
        le32At(head, 10), BitmapFileHeader + std::min<quint32>(headerSize, 40) + colourTable);
    if (compression == RunLength8 || compression == RunLength4)
        return runsEnd(file, dataAt, compression == RunLength4);
    const qint64 stride = ((width * qMax(bitCount, 1) + 31) / 32) * 4;
    if (stride > 0 && height > Unbounded / stride)
        return false;
    return dataAt + stride * height <= file.size();
}

bool iconEntriesFit(QByteArrayView file)
{
    if (file.size() < 6)
        return false;
    const qsizetype count = le16At(file, 4);
    if (6 + 16 * count > file.size())
        return false;
    for (qsizetype entry = 0; entry < count; ++entry) {
        const qint64 size = le32At(file, 6 + 16 * entry + 8);
        const qint64 offset = le32At(file, 6 + 16 * entry + 12);
        if (offset + size > file.size())
            return false;
    }
    return true;
}

bool gifTrailerFollows(ByteWalk& file, qint64 at)
{
    for (;;) {
        const std::optional<uchar> introducer = file.at(at);
        if (introducer == ';')
            return true;
        if (introducer == '!') {
            at = gifSubBlocksEnd(file, at + 2);
        } else if (introducer == ',') {
            const std::optional<uchar> flags = file.at(at + 9);
            if (!flags)
                return false;
            // Past the descriptor, the local colour table and the code size.
            at = gifSubBlocksEnd(file, at + 10 + gifColourTableBytes(*flags) + 1);
        } else {
            return false;
        }
        if (at < 0)
            return false;
    }
}

} // namespace zelvo
