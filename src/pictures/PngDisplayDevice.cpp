#include "PngDisplayDevice.h"

#include <QtEndian>

#include <algorithm>
#include <array>

namespace zelvo {

namespace {

constexpr quint32 chunkType(const char (&name)[5])
{
    return quint32(uchar(name[0])) << 24 | quint32(uchar(name[1])) << 16 |
           quint32(uchar(name[2])) << 8 | uchar(name[3]);
}

constexpr quint32 End = chunkType("IEND");
constexpr quint32 Profile = chunkType("iCCP");
constexpr std::array<quint32, 6> ShownAncillary{chunkType("tRNS"), chunkType("gAMA"),
                                                chunkType("cHRM"), chunkType("sRGB"),
                                                Profile,           chunkType("sBIT")};
// A chunk's length is at most 2^31 - 1.
constexpr quint32 MaxChunkLength = 0x7fffffffu;
// The length and the type before a chunk's data, and the checksum after it.
constexpr qint64 ChunkHeaderBytes = 8;
constexpr qint64 ChunkFrameBytes = 12;

} // namespace

bool pngChunkShown(quint32 type)
{
    // The fifth bit of the first letter is clear in a critical chunk's type.
    const bool critical = (type & 0x20000000u) == 0;
    return critical ||
           std::find(ShownAncillary.begin(), ShownAncillary.end(), type) != ShownAncillary.end();
}

bool PngDisplayDevice::nextChunk()
{
    while (!m_ended) {
        char header[ChunkHeaderBytes];
        const qint64 got = m_source.peek(header, ChunkHeaderBytes);
        if (got < ChunkHeaderBytes) {
            // The file ends within a chunk's header: the reader is handed what there is, and
            // finds the file cut short.
            m_ended = true;
            m_left = std::max<qint64>(got, 0);
            return m_left > 0;
        }
        const quint32 length = qFromBigEndian<quint32>(header);
        const quint32 type = qFromBigEndian<quint32>(header + 4);
        const bool dropped = !pngChunkShown(type) || (type == Profile && m_profileSeen);
        // A length past the limit is handed on as it is, for the reader to refuse, and ends
        // the walk.
        if (length > MaxChunkLength) {
            m_ended = true;
            m_left = ChunkHeaderBytes;
            return true;
        }
        if (dropped) {
            if (m_source.skip(ChunkFrameBytes + length) < ChunkFrameBytes + length)
                m_ended = true;
            continue;
        }
        m_profileSeen = m_profileSeen || type == Profile;
        m_ended = type == End;
        m_left = ChunkFrameBytes + length;
        return true;
    }
    return false;
}

qint64 PngDisplayDevice::readData(char* data, qint64 maxSize)
{
    qint64 done = 0;
    while (done < maxSize) {
        if (m_left == 0 && !nextChunk())
            break;
        const qint64 got = m_source.read(data + done, std::min(maxSize - done, m_left));
        if (got <= 0) {
            // The source failed, or the load is to stop.
            m_ended = true;
            m_left = 0;
            break;
        }
        done += got;
        m_left -= got;
    }
    return done > 0 ? done : -1;
}

} // namespace zelvo
