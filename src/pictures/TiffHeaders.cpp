#include "TiffHeaders.h"

#include "PictureBudget.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace zelvo {

namespace {

// The tags read here.
enum Tag : quint16 {
    ImageWidth = 256,
    ImageLength = 257,
    BitsPerSample = 258,
    Compression = 259,
    StripOffsets = 273,
    SamplesPerPixel = 277,
    RowsPerStrip = 278,
    StripByteCounts = 279,
    PlanarConfiguration = 284,
    TileWidth = 322,
    TileLength = 323,
    TileOffsets = 324,
    TileByteCounts = 325,
};

// The compressions Debian's libtiff decodes that writers of pictures use: none, the CCITT fax
// codings, LZW, JPEG, Deflate (both codes), PackBits, LZMA, Zstandard and WebP. The old JPEG
// coding, whose readers guess at its tables, is not among them.
constexpr std::array<quint64, 12> KnownCompressions{1, 2,     3,     4,     5,     7,
                                                    8, 32773, 32946, 34925, 50000, 50001};

// The more values of a list the reader is asked to check at once, the fewer times the file is read
// again between the list of offsets and the list of byte counts.
constexpr qint64 ListChunk = 8192;

// The bytes of one value of each field type; 0 for types the reader skips.
[[nodiscard]] qint64 typeBytes(quint16 type)
{
    switch (type) {
    case 1:
    case 2:
    case 6:
    case 7:
        return 1;
    case 3:
    case 8:
        return 2;
    case 4:
    case 9:
    case 11:
    case 13:
        return 4;
    case 5:
    case 10:
    case 12:
    case 16:
    case 17:
    case 18:
        return 8;
    default:
        return 0;
    }
}

[[nodiscard]] qint64 ceilDiv(qint64 a, qint64 b)
{
    return (a + b - 1) / b;
}

// a x b, stopping at Unbounded.
[[nodiscard]] qint64 times(qint64 a, qint64 b)
{
    if (a <= 0 || b <= 0)
        return 0;
    return a > Unbounded / b ? Unbounded : a * b;
}

struct Entry
{
    quint16 type = 0;
    qint64 count = 0;
    // Where the values lie: in the entry itself, or where it points.
    qint64 valuesAt = 0;
};

class TiffReader
{
public:
    explicit TiffReader(ByteWalk& file) : m_file(file) {}

    [[nodiscard]] std::optional<TiffPage> firstPage();

private:
    [[nodiscard]] std::optional<quint64> number(qint64 at, int bytes);
    [[nodiscard]] std::optional<quint64> value(const Entry& entry, qint64 index);
    [[nodiscard]] std::optional<quint64> single(quint16 tag, quint64 otherwise);
    // Every strip or tile lies in the file; their bytes in all, or nothing.
    [[nodiscard]] std::optional<qint64> dataBytes(quint16 offsetsTag, quint16 countsTag,
                                                  qint64 pieces, qint64& largest);

    ByteWalk& m_file;
    bool m_bigEndian = false;
    bool m_big = false;
    std::map<quint16, Entry> m_entries;
};

std::optional<quint64> TiffReader::number(qint64 at, int bytes)
{
    quint64 result = 0;
    for (int i = 0; i < bytes; ++i) {
        const std::optional<uchar> byte = m_file.at(at + i);
        if (!byte)
            return std::nullopt;
        if (m_bigEndian)
            result = result << 8 | *byte;
        else
            result |= quint64(*byte) << (8 * i);
    }
    return result;
}

std::optional<quint64> TiffReader::value(const Entry& entry, qint64 index)
{
    const qint64 size = typeBytes(entry.type);
    if (index >= entry.count || size == 0 || size > 8)
        return std::nullopt;
    return number(entry.valuesAt + index * size, int(size));
}

std::optional<quint64> TiffReader::single(quint16 tag, quint64 otherwise)
{
    const auto found = m_entries.find(tag);
    if (found == m_entries.end())
        return otherwise;
    const quint16 type = found->second.type;
    if (type != 3 && type != 4 && type != 16)
        return std::nullopt;
    return value(found->second, 0);
}

std::optional<qint64> TiffReader::dataBytes(quint16 offsetsTag, quint16 countsTag, qint64 pieces,
                                            qint64& largest)
{
    const auto offsets = m_entries.find(offsetsTag);
    const auto counts = m_entries.find(countsTag);
    if (offsets == m_entries.end() || counts == m_entries.end() || offsets->second.count < pieces ||
        counts->second.count < pieces)
        return std::nullopt;
    qint64 total = 0;
    std::vector<quint64> starts;
    for (qint64 first = 0; first < pieces; first += ListChunk) {
        const qint64 last = std::min(pieces, first + ListChunk);
        starts.clear();
        for (qint64 i = first; i < last; ++i) {
            const std::optional<quint64> start = value(offsets->second, i);
            if (!start)
                return std::nullopt;
            starts.push_back(*start);
        }
        for (qint64 i = first; i < last; ++i) {
            const std::optional<quint64> bytes = value(counts->second, i);
            const quint64 start = starts[std::size_t(i - first)];
            const quint64 size = quint64(m_file.size());
            // A piece of no bytes would have the reader guess where its data ends.
            if (!bytes || *bytes == 0 || start > size || *bytes > size - start)
                return std::nullopt;
            total += qint64(*bytes);
            largest = std::max(largest, qint64(*bytes));
        }
    }
    return total;
}

std::optional<TiffPage> TiffReader::firstPage()
{
    const std::optional<uchar> order = m_file.at(0);
    if (order != 'I' && order != 'M')
        return std::nullopt;
    m_bigEndian = order == 'M';
    const std::optional<quint64> version = number(2, 2);
    if (version != 42u && version != 43u)
        return std::nullopt;
    m_big = version == 43u;
    const int offsetBytes = m_big ? 8 : 4;
    const std::optional<quint64> directory = number(m_big ? 8 : 4, offsetBytes);
    const std::optional<quint64> entryCount =
        directory ? number(qint64(*directory), m_big ? 8 : 2) : std::nullopt;
    if (!entryCount || *directory > quint64(m_file.size()) || *entryCount == 0 ||
        *entryCount > quint64(MaxTiffDirectoryEntries))
        return std::nullopt;

    TiffPage page;
    const qint64 entrySize = m_big ? 20 : 12;
    const qint64 firstEntry = qint64(*directory) + (m_big ? 8 : 2);
    for (qint64 i = 0; i < qint64(*entryCount); ++i) {
        const qint64 at = firstEntry + i * entrySize;
        const std::optional<quint64> tag = number(at, 2);
        const std::optional<quint64> type = number(at + 2, 2);
        const std::optional<quint64> count = number(at + 4, offsetBytes);
        if (!tag || !type || !count || *count > quint64(Unbounded))
            return std::nullopt;
        Entry entry{quint16(*type), qint64(*count), at + 4 + offsetBytes};
        const qint64 bytes = times(entry.count, typeBytes(entry.type));
        if (bytes > offsetBytes) {
            const std::optional<quint64> valuesAt = number(at + 4 + offsetBytes, offsetBytes);
            if (!valuesAt)
                return std::nullopt;
            entry.valuesAt = qint64(std::min<quint64>(*valuesAt, quint64(Unbounded)));
            // Values past the end of the file are skipped by the reader, unless they are needed.
            if (entry.valuesAt <= m_file.size() && bytes <= m_file.size() - entry.valuesAt)
                page.readerBytes += bytes;
        }
        m_entries.emplace(quint16(*tag), entry);
    }

    const std::optional<quint64> width = single(ImageWidth, 0);
    const std::optional<quint64> height = single(ImageLength, 0);
    const std::optional<quint64> samples = single(SamplesPerPixel, 1);
    const std::optional<quint64> compression = single(Compression, 1);
    const std::optional<quint64> planar = single(PlanarConfiguration, 1);
    if (!width || !height || !samples || !compression || !planar || *width == 0 || *height == 0 ||
        *width > 1u << 30 || *height > 1u << 30 || *samples == 0 || *samples > 16 ||
        (*planar != 1 && *planar != 2) ||
        std::find(KnownCompressions.begin(), KnownCompressions.end(), *compression) ==
            KnownCompressions.end())
        return std::nullopt;
    // The widest sample decides the decoded picture's depth.
    quint64 bits = 1;
    if (const auto found = m_entries.find(BitsPerSample); found != m_entries.end()) {
        bits = 0;
        for (qint64 i = 0; i < std::min<qint64>(found->second.count, qint64(*samples)); ++i) {
            const std::optional<quint64> each = value(found->second, i);
            if (!each || (*each != 1 && *each != 2 && *each != 4 && *each != 8 && *each != 16 &&
                          *each != 32 && *each != 64))
                return std::nullopt;
            bits = std::max(bits, *each);
        }
        if (bits == 0)
            return std::nullopt;
    }
    const qint64 w = qint64(*width);
    const qint64 h = qint64(*height);
    const qint64 planes = *planar == 2 ? qint64(*samples) : 1;
    const qint64 sampleBits = qint64(bits) * (qint64(*samples) / planes);
    const auto rowBytes = [sampleBits](qint64 pixels) { return ceilDiv(pixels * sampleBits, 8); };

    // Pieces: strips of whole rows, or tiles; each decoded whole into a buffer of its own.
    qint64 pieces = 0;
    qint64 pieceBytes = 0;
    qint64 computed = 0;
    std::optional<qint64> data;
    qint64 largest = 0;
    if (m_entries.contains(TileWidth) || m_entries.contains(TileOffsets)) {
        const std::optional<quint64> tileWidth = single(TileWidth, 0);
        const std::optional<quint64> tileLength = single(TileLength, 0);
        if (!tileWidth || !tileLength || *tileWidth == 0 || *tileLength == 0 ||
            *tileWidth > 1u << 16 || *tileLength > 1u << 16)
            return std::nullopt;
        const qint64 across = ceilDiv(w, qint64(*tileWidth));
        const qint64 down = ceilDiv(h, qint64(*tileLength));
        pieces = times(times(across, down), planes);
        pieceBytes = times(rowBytes(qint64(*tileWidth)), qint64(*tileLength));
        computed = times(times(across * qint64(*tileWidth), down * qint64(*tileLength)), planes);
        if (computed > PictureBudgetBytes / 4)
            return std::nullopt;
        data = dataBytes(TileOffsets, TileByteCounts, pieces, largest);
    } else {
        const std::optional<quint64> rows = single(RowsPerStrip, quint64(h));
        if (!rows || *rows == 0)
            return std::nullopt;
        const qint64 stripRows = qint64(std::min<quint64>(*rows, quint64(h)));
        pieces = ceilDiv(h, stripRows) * planes;
        pieceBytes = times(rowBytes(w), stripRows);
        computed = times(times(w, h), planes);
        if (computed > PictureBudgetBytes / 4)
            return std::nullopt;
        data = dataBytes(StripOffsets, StripByteCounts, pieces, largest);
    }
    // More data than the pieces unpacked, twice over, is not a picture's.
    if (!data || *data > FileSlackBytes + 2 * times(pieces, pieceBytes))
        return std::nullopt;
    const qint64 pixelBytes = bits <= 8 ? 4 : bits == 16 ? 8 : 16;
    page.decoded = {w, h, times(times(w, h), pixelBytes), computed};
    // The lists of pieces are held as 64-bit values, two for each piece.
    page.readerBytes += 16 * pieces + pieceBytes + largest;
    return page;
}

} // namespace

bool isTiff(QByteArrayView head)
{
    return head.startsWith(QByteArrayView("II*\0", 4)) ||
           head.startsWith(QByteArrayView("MM\0*", 4)) ||
           head.startsWith(QByteArrayView("II+\0", 4)) ||
           head.startsWith(QByteArrayView("MM\0+", 4));
}

std::optional<TiffPage> tiffFirstPage(ByteWalk& file)
{
    return TiffReader(file).firstPage();
}

} // namespace zelvo
