#include "GifWork.h"

#include "PictureHeaders.h"

#include <algorithm>
#include <array>

namespace zelvo {

namespace {

constexpr int MaxCodeBits = 12;
constexpr int TableSize = 1 << MaxCodeBits;
// How far past the completing code the data may go on before the end code.
constexpr qsizetype TrailingBytes = 64;
// How many bytes of codes are followed between two looks at whether to stop.
constexpr qsizetype GuardedBytes = 64 * 1024;

// Follows the codes of one picture's data, in its sub-blocks from at, as the reader does,
// counting the pixels each code unpacks into without unpacking it: the position just past the
// byte that completes the picture, or -1 when the data ends (or breaks off) before that or soon
// after it with an end code.
[[nodiscard]] qsizetype completingByte(const QByteArray& gif, qsizetype at, int minimumCodeSize,
                                       qint64 pixels, const LoadGuard& guard)
{
    if (minimumCodeSize > MaxCodeBits)
        return -1;
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    std::array<qint64, TableSize> length{};
    length.fill(1);
    int codeSize = minimumCodeSize + 1;
    int nextCode = clear + 2;
    int codeSizeLimit = 2 * clear;
    bool first = true;
    int previous = 0;
    qint64 produced = 0;
    qsizetype completed = -1;
    quint32 bits = 0;
    int bitCount = 0;
    qsizetype nextLook = at + GuardedBytes;
    for (; at < gif.size() && gif[at] != 0; at += 1 + uchar(gif[at])) {
        if (at >= nextLook) {
            if (guard.stopped())
                return -1;
            nextLook = at + GuardedBytes;
        }
        const qsizetype blockEnd = std::min(gif.size(), at + 1 + uchar(gif[at]));
        for (qsizetype byte = at + 1; byte < blockEnd; ++byte) {
            bits |= quint32(uchar(gif[byte])) << bitCount;
            bitCount += 8;
            while (bitCount >= codeSize) {
                const int code = int(bits & ((1u << codeSize) - 1));
                bits >>= codeSize;
                bitCount -= codeSize;
                if (code == clear) {
                    codeSize = minimumCodeSize + 1;
                    codeSizeLimit = 2 * clear;
                    nextCode = clear + 2;
                    first = true;
                    continue;
                }
                if (code == end)
                    return -1;
                if (first) {
                    ++produced;
                    previous = code;
                    first = false;
                } else {
                    // A code not yet in the table repeats the previous string and one pixel more.
                    if (code >= nextCode && previous >= nextCode)
                        return -1;
                    produced += code >= nextCode ? length[previous] + 1 : length[code];
                    if (nextCode < TableSize) {
                        length[nextCode] = length[previous] + 1;
                        ++nextCode;
                        if (nextCode >= codeSizeLimit && codeSizeLimit < TableSize) {
                            codeSizeLimit *= 2;
                            ++codeSize;
                        }
                    }
                    previous = code;
                }
                if (produced >= pixels && completed < 0)
                    completed = byte + 1;
            }
            // Data that goes on well past the picture is cut; an end code soon after is not.
            if (completed >= 0 && byte + 1 - completed >= TrailingBytes)
                return completed;
        }
    }
    return -1;
}

} // namespace

QByteArray boundGifWork(QByteArray gif, const LoadGuard& guard)
{
    ByteWalk bytes(gif);
    const std::optional<GifLayout> layout = gifLayout(bytes);
    if (!layout || layout->dataAt + 1 >= gif.size())
        return gif;
    const qsizetype at = layout->dataAt;
    const qint64 pixels = layout->width * layout->height;
    const qsizetype cut = completingByte(gif, at + 1, uchar(gif[at]), pixels, guard);
    if (cut < 0)
        return gif;
    // The sub-block holding the completing byte is shortened to end with it.
    qsizetype block = at + 1;
    while (block + 1 + uchar(gif[block]) < cut)
        block += 1 + uchar(gif[block]);
    gif.truncate(cut);
    gif[block] = char(cut - block - 1);
    gif.append('\0').append(';');
    return gif;
}

} // namespace zelvo
