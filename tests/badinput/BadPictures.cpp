#include "BadPictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include <climits>
#include <cstdint>
#include <optional>
#include <random>

namespace zelvo::test {

namespace {

// Adds the pictures of one family, each named "<prefix><name><suffix>".
class Family
{
public:
    Family(QList<BadPicture>& out, const QString& prefix, const QString& suffix)
        : m_out(out), m_prefix(prefix), m_suffix(suffix)
    {
    }

    void operator()(const char* kind, const QString& name, const QByteArray& bytes) const
    {
        m_out.append({kind, m_prefix + name + m_suffix, bytes});
    }

    // An empty file, then the sound file cut short at each of the offsets.
    void emptyAndCuts(const QByteArray& sound, std::initializer_list<qsizetype> offsets) const
    {
        (*this)("zero-bytes", QStringLiteral("empty"), {});
        for (const qsizetype at : offsets)
            (*this)("truncated", QStringLiteral("cut-at-%1").arg(at), sound.left(at));
    }

private:
    QList<BadPicture>& m_out;
    QString m_prefix;
    QString m_suffix;
};

void le16(QByteArray& out, quint32 value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

void le32(QByteArray& out, quint32 value)
{
    le16(out, value & 0xffff);
    le16(out, value >> 16);
}

void putBe16(QByteArray& bytes, qsizetype at, quint16 value)
{
    bytes[at] = char(value >> 8);
    bytes[at + 1] = char(value & 0xff);
}

[[nodiscard]] QByteArray randomBytes(std::uint32_t seed, qsizetype size)
{
    std::mt19937 generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(generator() & 0xff);
    return bytes;
}

// --- Windows bitmaps and the bitmaps inside icons ---------------------------------------------

struct Dib
{
    qint32 width = 16;
    qint32 height = 16;
    quint16 bitCount = 8;
    quint32 compression = 0;
    quint32 colorsUsed = 0;
    quint32 headerSize = 40;
    // Colour-table entries actually present; -1 for as many as the bit count implies.
    int paletteEntries = -1;
    // The pixel data; when absent, a sound pattern of rows for width x |height|.
    std::optional<QByteArray> pixels{};
};

[[nodiscard]] int impliedPaletteEntries(const Dib& dib)
{
    if (dib.paletteEntries >= 0)
        return dib.paletteEntries;
    if (dib.bitCount > 8)
        return 0;
    return dib.colorsUsed != 0 && dib.colorsUsed <= 256 ? int(dib.colorsUsed) : 1 << dib.bitCount;
}

[[nodiscard]] QByteArray patternRows(qint32 width, qint32 height, int bitCount)
{
    const qint64 stride = ((qint64(width) * bitCount + 31) / 32) * 4;
    QByteArray rows;
    for (qint32 y = 0; y < std::abs(height); ++y) {
        for (qint64 x = 0; x < stride; ++x)
            rows.append(char((x * 7 + y * 3) & (bitCount >= 8 ? 0xff : 0x11)));
    }
    return rows;
}

[[nodiscard]] QByteArray dibBytes(const Dib& dib)
{
    QByteArray out;
    le32(out, dib.headerSize);
    le32(out, quint32(dib.width));
    le32(out, quint32(dib.height));
    le16(out, 1);
    le16(out, dib.bitCount);
    le32(out, dib.compression);
    le32(out, 0);
    le32(out, 2835);
    le32(out, 2835);
    le32(out, dib.colorsUsed);
    le32(out, 0);
    const int entries = impliedPaletteEntries(dib);
    for (int i = 0; i < entries; ++i) {
        out.append(char(i * 37));
        out.append(char(i * 91));
        out.append(char(255 - i));
        out.append('\0');
    }
    out.append(dib.pixels ? *dib.pixels : patternRows(dib.width, dib.height, dib.bitCount));
    return out;
}

[[nodiscard]] QByteArray bmpBytes(const Dib& dib, std::optional<quint32> dataOffset = {})
{
    const QByteArray body = dibBytes(dib);
    QByteArray out("BM");
    le32(out, quint32(14 + body.size()));
    le32(out, 0);
    le32(out, dataOffset.value_or(quint32(14 + 40 + 4 * impliedPaletteEntries(dib))));
    return out + body;
}

// RLE streams for a 16 x 16 picture: escapes 0,0 end a line, 0,1 end the picture, 0,2 move.
[[nodiscard]] QByteArray rleRows(int runsPerRow, char value)
{
    QByteArray data;
    for (int y = 0; y < 16; ++y) {
        for (int r = 0; r < runsPerRow; ++r)
            data.append(char(16 / runsPerRow)).append(value);
        data.append('\0').append('\0');
    }
    data.append('\0').append('\1');
    return data;
}

void addBitmaps(QList<BadPicture>& out)
{
    const Family add(out, QStringLiteral("bmp-"), QStringLiteral(".bmp"));
    const QByteArray sound = bmpBytes(Dib{});
    add("valid", QStringLiteral("sound-8bit"), sound);
    add.emptyAndCuts(
        sound, {1, 2, 13, 14, 30, 53, 54, 54 + 512, 54 + 1024, 54 + 1024 + 100, sound.size() - 1});
    add("header-only", QStringLiteral("headers"), sound.left(54));
    add("header-only", QStringLiteral("file-header"), sound.left(14));

    const QByteArray fewPixels(64, '\x5a');
    const struct
    {
        const char* name;
        qint32 width;
        qint32 height;
        quint16 bitCount;
    } huge[] = {
        {"65535x65535", 65535, 65535, 24},
        {"65536x65536", 65536, 65536, 32},
        {"wide", INT_MAX, 1, 24},
        {"tall", 1, INT_MAX, 24},
        {"top-down-65535", 65535, -65535, 8},
        {"top-down-min", 16, INT_MIN, 8},
        {"8000x8000", 8000, 8000, 32},
        {"16384x16384-1bit", 16384, 16384, 1},
        {"100000x100000", 100000, 100000, 24},
    };
    for (const auto& h : huge) {
        add("huge-size", QStringLiteral("huge-%1").arg(QLatin1String(h.name)),
            bmpBytes(Dib{.width = h.width,
                         .height = h.height,
                         .bitCount = h.bitCount,
                         .pixels = fewPixels}));
    }
    const struct
    {
        const char* name;
        qint32 width;
        qint32 height;
    } small[] = {{"0x0", 0, 0},       {"0x16", 0, 16},         {"16x0", 16, 0},
                 {"-16x16", -16, 16}, {"minx16", INT_MIN, 16}, {"-1x-1", -1, -1}};
    for (const auto& s : small) {
        add("zero-or-negative-size", QStringLiteral("size-%1").arg(QLatin1String(s.name)),
            bmpBytes(Dib{.width = s.width, .height = s.height, .pixels = fewPixels}));
    }

    add("palette-out-of-range", QStringLiteral("index-255-of-2"),
        bmpBytes(Dib{.colorsUsed = 2, .pixels = QByteArray(256, '\xff')}));
    add("palette-out-of-range", QStringLiteral("4bit-index-15-of-1"),
        bmpBytes(Dib{.bitCount = 4, .colorsUsed = 1, .pixels = QByteArray(128, '\xff')}));
    add("palette-out-of-range", QStringLiteral("1bit-index-1-of-1"),
        bmpBytes(Dib{.bitCount = 1, .colorsUsed = 1, .pixels = QByteArray(64, '\xff')}));
    add("palette-out-of-range", QStringLiteral("rle8-index-200-of-4"),
        bmpBytes(Dib{.compression = 1, .colorsUsed = 4, .pixels = rleRows(1, '\xc8')}));

    add("bad-colour-table", QStringLiteral("colours-used-max"),
        bmpBytes(Dib{.colorsUsed = 0xffffffffu, .paletteEntries = 256}));
    add("bad-colour-table", QStringLiteral("colours-used-1000"),
        bmpBytes(Dib{.colorsUsed = 1000, .paletteEntries = 256}));
    add("bad-colour-table", QStringLiteral("colours-used-300-24bit"),
        bmpBytes(Dib{.bitCount = 24, .colorsUsed = 300}));
    add("bad-colour-table", QStringLiteral("table-missing"),
        bmpBytes(Dib{.paletteEntries = 0, .pixels = QByteArray()}));
    for (const quint16 bits : {0, 7, 64, 65535})
        add("bad-colour-table", QStringLiteral("bit-count-%1").arg(bits),
            bmpBytes(Dib{.bitCount = bits, .paletteEntries = 0, .pixels = fewPixels}));
    for (const quint32 header : {0u, 12u, 39u, 0xffffffffu})
        add("bad-colour-table", QStringLiteral("header-size-%1").arg(header),
            bmpBytes(Dib{.headerSize = header}));
    add("bad-colour-table", QStringLiteral("bitfields-no-masks"),
        bmpBytes(Dib{.bitCount = 16, .compression = 3, .paletteEntries = 0}));
    add("bad-colour-table", QStringLiteral("bitfields-8bit"),
        bmpBytes(Dib{.compression = 3, .paletteEntries = 0}));

    add("points-past-end", QStringLiteral("data-offset-past-end"), bmpBytes(Dib{}, 0x7fffffffu));
    add("points-past-end", QStringLiteral("data-offset-max"), bmpBytes(Dib{}, 0xffffffffu));
    add("points-past-end", QStringLiteral("data-offset-zero"), bmpBytes(Dib{}, 0u));

    // RLE8 and RLE4 streams that run past the row, move past the picture, end too early or
    // promise more literal bytes than there are.
    const struct
    {
        const char* name;
        quint16 bitCount;
        quint32 compression;
        QByteArray data;
    } rle[] = {
        {"rle8-sound", 8, 1, rleRows(2, '\x03')},
        {"rle8-run-past-row", 8, 1, QByteArray("\xff\x01\xff\x02\xff\x03\x00\x01", 8)},
        {"rle8-delta-past-end", 8, 1, QByteArray("\x00\x02\xff\xff\x04\x01\x00\x01", 8)},
        {"rle8-no-end", 8, 1, QByteArray("\x04\x01\x04\x02", 4)},
        {"rle8-literal-past-end", 8, 1, QByteArray("\x00\xff\x01\x02\x03", 5)},
        {"rle8-only-escapes", 8, 1, QByteArray(4096, '\0')},
        {"rle4-run-past-row", 4, 2, QByteArray("\xff\x12\xff\x34\x00\x01", 6)},
        {"rle4-delta-past-end", 4, 2, QByteArray("\x00\x02\x80\x80\x04\x12\x00\x01", 8)},
        {"rle4-literal-past-end", 4, 2, QByteArray("\x00\xfe\x12", 3)},
        {"rle8-on-24bit", 24, 1, rleRows(2, '\x03')},
        {"rle4-on-8bit", 8, 2, rleRows(2, '\x03')},
    };
    for (const auto& r : rle) {
        add(r.name == QByteArrayLiteral("rle8-sound") ? "valid" : "broken-stream",
            QLatin1String(r.name),
            bmpBytes(Dib{.bitCount = r.bitCount, .compression = r.compression, .pixels = r.data}));
    }
    add("huge-size", QStringLiteral("rle8-8000x8000"),
        bmpBytes(Dib{.width = 8000, .height = 8000, .compression = 1, .pixels = rleRows(1, 0)}));
}

// --- JPEG ---------------------------------------------------------------------------------

[[nodiscard]] QByteArray encoded(const QImage& image, int quality, bool progressive)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return buffer.data();
}

[[nodiscard]] QByteArray encodeJpeg(bool progressive)
{
    QImage image(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 5, y * 8, (x ^ y) * 4));
    }
    return encoded(image, 80, progressive);
}

// Where the segment of a marker starts (its FF byte), or -1.
[[nodiscard]] qsizetype findMarker(const QByteArray& jpeg, uchar marker)
{
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xff) {
        if (uchar(jpeg[at + 1]) == marker)
            return at;
        if (uchar(jpeg[at + 1]) == 0xda)
            return -1;
        at += 2 + qFromBigEndian<quint16>(jpeg.constData() + at + 2);
    }
    return -1;
}

[[nodiscard]] QByteArray withJpegSize(QByteArray jpeg, uchar frameMarker, quint16 width,
                                      quint16 height)
{
    const qsizetype frame = findMarker(jpeg, frameMarker);
    if (frame >= 0) {
        putBe16(jpeg, frame + 5, height);
        putBe16(jpeg, frame + 7, width);
    }
    return jpeg;
}

// A photograph's worth of detail: 8000 x 8000 of noise in every channel over soft gradients, as
// a progressive JPEG of about 52 MB at quality 90. Made once.
[[nodiscard]] QByteArray photoJpeg()
{
    static const QByteArray photo = [] {
        QImage image(8000, 8000, QImage::Format_RGB32);
        std::minstd_rand noise(7);
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = qRgb((x >> 6) + int(noise() & 0xff), (y >> 6) + int(noise() & 0xff),
                              ((x + y) >> 7) + int(noise() & 0xff));
        }
        return encoded(image, 90, true);
    }();
    return photo;
}

void addJpegs(QList<BadPicture>& out)
{
    const Family add(out, QStringLiteral("jpeg-"), QStringLiteral(".jpg"));
    const QByteArray sound = encodeJpeg(false);
    const QByteArray progressive = encodeJpeg(true);
    const qsizetype scan = findMarker(sound, 0xda) >= 0 ? findMarker(sound, 0xda)
                                                        : sound.indexOf(QByteArray("\xff\xda", 2));
    add("valid", QStringLiteral("sound"), sound);
    add("valid", QStringLiteral("sound-progressive"), progressive);
    add("valid", QStringLiteral("photo-8000x8000-progressive"), photoJpeg());
    add.emptyAndCuts(sound, {1, 2, 3, 20, scan + 5, scan + 40, sound.size() / 2, sound.size() - 2});
    add("truncated", QStringLiteral("progressive-half"), progressive.left(progressive.size() / 2));
    add("header-only", QStringLiteral("up-to-scan"), sound.left(scan));
    add("header-only", QStringLiteral("start-and-end"), QByteArray("\xff\xd8\xff\xd9", 4));

    for (const auto& [width, height] :
         {std::pair<quint16, quint16>{65535, 65535}, {65535, 1}, {1, 65535}, {20000, 20000}}) {
        add("huge-size", QStringLiteral("baseline-%1x%2").arg(width).arg(height),
            withJpegSize(sound, 0xc0, width, height));
        add("huge-size", QStringLiteral("progressive-%1x%2").arg(width).arg(height),
            withJpegSize(progressive, 0xc2, width, height));
    }
    add("zero-or-negative-size", QStringLiteral("0x0"), withJpegSize(sound, 0xc0, 0, 0));
    add("zero-or-negative-size", QStringLiteral("0x32"), withJpegSize(sound, 0xc0, 0, 32));
    add("zero-or-negative-size", QStringLiteral("48x0"), withJpegSize(sound, 0xc0, 48, 0));

    // Frame components that name a quantisation table that does not exist, none or too many.
    if (const qsizetype frame = findMarker(sound, 0xc0); frame >= 0) {
        QByteArray table = sound;
        table[frame + 10 + 2] = char(7);
        add("palette-out-of-range", QStringLiteral("quant-table-7"), table);
        QByteArray none = sound;
        none[frame + 9] = char(0);
        add("bad-colour-table", QStringLiteral("no-components"), none);
        QByteArray many = sound;
        many[frame + 9] = char(255);
        add("bad-colour-table", QStringLiteral("255-components"), many);
        QByteArray sampling = sound;
        sampling[frame + 10 + 1] = char(0x00);
        add("bad-colour-table", QStringLiteral("zero-sampling"), sampling);
    }
    // Huffman tables whose code counts add up to more codes than there are symbols.
    if (const qsizetype huffman = findMarker(sound, 0xc4); huffman >= 0) {
        QByteArray counts = sound;
        for (int i = 0; i < 16; ++i)
            counts[huffman + 5 + i] = char(0xff);
        add("bad-colour-table", QStringLiteral("huffman-counts"), counts);
        QByteArray length = sound;
        putBe16(length, huffman + 2, 0xffff);
        add("points-past-end", QStringLiteral("segment-length-past-end"), length);
        QByteArray id = sound;
        id[huffman + 4] = char(0x3f);
        add("palette-out-of-range", QStringLiteral("huffman-table-id"), id);
    }
    // Damaged entropy-coded data: random bytes, restart markers out of order, all ones.
    if (scan >= 0) {
        const qsizetype data = scan + 2 + qFromBigEndian<quint16>(sound.constData() + scan + 2);
        QByteArray noise = sound;
        const QByteArray random = randomBytes(11, sound.size() - data - 2);
        for (qsizetype i = 0; i < random.size(); ++i)
            noise[data + i] = random[i] == '\xff' ? '\0' : random[i];
        add("broken-stream", QStringLiteral("entropy-noise"), noise);
        QByteArray restart = sound;
        for (qsizetype i = data; i + 1 < restart.size() - 2; i += 16) {
            restart[i] = char(0xff);
            restart[i + 1] = char(0xd0 + (i % 8));
        }
        add("broken-stream", QStringLiteral("stray-restarts"), restart);
        QByteArray ones = sound;
        for (qsizetype i = data; i < ones.size() - 2; ++i)
            ones[i] = i % 2 ? '\xff' : '\0';
        add("broken-stream", QStringLiteral("entropy-ones"), ones);
        add("broken-stream", QStringLiteral("no-end-marker"), sound.left(sound.size() - 2));
        QByteArray progressiveNoise = progressive;
        for (qsizetype i = progressive.size() / 3; i < progressive.size() - 2; i += 3)
            progressiveNoise[i] = char(0x5a);
        add("broken-stream", QStringLiteral("progressive-noise"), progressiveNoise);
    }
}

// --- GIF ----------------------------------------------------------------------------------

class BitWriter
{
public:
    void put(quint32 code, int width)
    {
        for (int i = 0; i < width; ++i) {
            m_current |= ((code >> i) & 1u) << m_bits;
            if (++m_bits == 8)
                flushByte();
        }
    }
    [[nodiscard]] QByteArray finish()
    {
        if (m_bits > 0)
            flushByte();
        return m_bytes;
    }

private:
    void flushByte()
    {
        m_bytes.append(char(m_current));
        m_current = 0;
        m_bits = 0;
    }
    QByteArray m_bytes;
    quint32 m_current = 0;
    int m_bits = 0;
};

// Sound LZW without compression: literal codes only, with a clear code often enough that the
// code width never grows.
[[nodiscard]] QByteArray lzwLiterals(const QByteArray& indices, int minimumCodeSize)
{
    const quint32 clear = 1u << minimumCodeSize;
    const int width = minimumCodeSize + 1;
    const int perClear = std::max(1, int(clear / 2));
    BitWriter bits;
    for (qsizetype i = 0; i < indices.size(); ++i) {
        if (i % perClear == 0)
            bits.put(clear, width);
        bits.put(uchar(indices[i]) & (clear - 1), width);
    }
    bits.put(clear + 1, width);
    return bits.finish();
}

[[nodiscard]] QByteArray subBlocks(const QByteArray& data)
{
    QByteArray out;
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append('\0');
    return out;
}

// Codes for a picture of minimum code size 2 that fill the table with ever longer strings, then
// codeBytes of all ones: the longest string, 4095 pixels, again and again.
[[nodiscard]] QByteArray endlessCodes(qsizetype codeBytes)
{
    BitWriter bits;
    int width = 3;
    int limit = 8;
    bits.put(4, width);
    bits.put(0, width);
    for (int next = 6; next < 4096; ++next) {
        bits.put(quint32(next), width);
        if (next + 1 >= limit && limit < 4096) {
            limit *= 2;
            ++width;
        }
    }
    return bits.finish() + QByteArray(codeBytes, '\xff');
}

struct Gif
{
    quint16 screenWidth = 16;
    quint16 screenHeight = 16;
    // Global colour table of 2^(bits+1) entries; entriesWritten -1 writes them all.
    int tableBits = 1;
    int entriesWritten = -1;
    quint16 left = 0;
    quint16 top = 0;
    quint16 width = 16;
    quint16 height = 16;
    int minimumCodeSize = 2;
    // The image data's sub-blocks as written; when absent, sound LZW of a 2-colour pattern.
    std::optional<QByteArray> blocks{};
    bool trailer = true;
};

[[nodiscard]] QByteArray gifBytes(const Gif& gif)
{
    QByteArray out("GIF89a");
    le16(out, gif.screenWidth);
    le16(out, gif.screenHeight);
    out.append(char(0x80 | 0x10 | (gif.tableBits & 7)));
    out.append('\0');
    out.append('\0');
    const int entries = gif.entriesWritten >= 0 ? gif.entriesWritten : 2 << (gif.tableBits & 7);
    for (int i = 0; i < entries; ++i)
        out.append(char(i * 40)).append(char(255 - i * 40)).append(char(i * 90));
    out.append(',');
    le16(out, gif.left);
    le16(out, gif.top);
    le16(out, gif.width);
    le16(out, gif.height);
    out.append('\0');
    out.append(char(gif.minimumCodeSize));
    if (gif.blocks) {
        out.append(*gif.blocks);
    } else {
        QByteArray indices;
        for (int i = 0; i < 16 * 16; ++i)
            indices.append(char(((i % 16) / 4 + i / 64) % 2));
        out.append(subBlocks(lzwLiterals(indices, gif.minimumCodeSize)));
    }
    if (gif.trailer)
        out.append(';');
    return out;
}

[[nodiscard]] QByteArray codes(int width, std::initializer_list<quint32> list)
{
    BitWriter bits;
    for (const quint32 code : list)
        bits.put(code, width);
    return bits.finish();
}

void addGifs(QList<BadPicture>& out)
{
    const Family add(out, QStringLiteral("gif-"), QStringLiteral(".gif"));
    const QByteArray sound = gifBytes(Gif{});
    add("valid", QStringLiteral("sound"), sound);
    add.emptyAndCuts(sound, {3, 6, 10, 13, 16, 19, 25, 30, 40, sound.size() - 2});
    add("header-only", QStringLiteral("screen-only"), sound.left(13));
    add("header-only", QStringLiteral("no-image"), sound.left(13 + 12) + ";");

    QByteArray fewBlocks = subBlocks(lzwLiterals(QByteArray(64, '\1'), 2));
    const struct
    {
        const char* name;
        quint16 screenWidth, screenHeight, width, height;
    } huge[] = {
        {"65535x65535", 65535, 65535, 65535, 65535},
        {"screen-65535-image-16", 65535, 65535, 16, 16},
        {"screen-16-image-65535", 16, 16, 65535, 65535},
        {"20000x20000", 20000, 20000, 20000, 20000},
    };
    for (const auto& h : huge) {
        add("huge-size", QStringLiteral("huge-%1").arg(QLatin1String(h.name)),
            gifBytes(Gif{.screenWidth = h.screenWidth,
                         .screenHeight = h.screenHeight,
                         .width = h.width,
                         .height = h.height,
                         .blocks = fewBlocks}));
    }
    add("huge-size", QStringLiteral("image-far-outside-screen"),
        gifBytes(Gif{.left = 65000, .top = 65000}));
    add("zero-or-negative-size", QStringLiteral("screen-0x0"),
        gifBytes(Gif{.screenWidth = 0, .screenHeight = 0}));
    add("zero-or-negative-size", QStringLiteral("image-0x0"),
        gifBytes(Gif{.width = 0, .height = 0, .blocks = fewBlocks}));
    add("zero-or-negative-size", QStringLiteral("all-0"),
        gifBytes(Gif{.screenWidth = 0, .screenHeight = 0, .width = 0, .height = 0}));

    // Two colours in the table, pixel indices 0..3 in the data.
    QByteArray outOfRange;
    for (int i = 0; i < 256; ++i)
        outOfRange.append(char(3 - i % 4));
    add("palette-out-of-range", QStringLiteral("index-3-of-2"),
        gifBytes(Gif{.blocks = subBlocks(lzwLiterals(outOfRange, 2))}));
    add("palette-out-of-range", QStringLiteral("index-255-of-2"),
        gifBytes(Gif{.minimumCodeSize = 8,
                     .blocks = subBlocks(lzwLiterals(outOfRange + QByteArray(256, '\xff'), 8))}));

    add("bad-colour-table", QStringLiteral("table-cut-short"),
        gifBytes(Gif{.tableBits = 7, .entriesWritten = 3}));
    add("bad-colour-table", QStringLiteral("table-missing"),
        gifBytes(Gif{.tableBits = 7, .entriesWritten = 0, .trailer = false}).left(13));
    {
        // A local table of 256 entries announced, 2 given.
        QByteArray local = sound;
        const qsizetype descriptor = local.indexOf(',', 13);
        local[descriptor + 9] = char(0x87);
        add("bad-colour-table", QStringLiteral("local-table-cut-short"), local);
    }

    // LZW: codes beyond the table, impossible code sizes, no clear or end code, data ending
    // inside a sub-block.
    const struct
    {
        const char* name;
        int minimumCodeSize;
        QByteArray blocks;
    } lzw[] = {
        {"code-beyond-table", 2, subBlocks(codes(3, {4, 0, 7, 7, 7, 7, 5}))},
        {"first-code-not-literal", 2, subBlocks(codes(3, {4, 6, 6, 6, 5}))},
        {"no-clear-no-end", 2, subBlocks(codes(3, {1, 0, 1, 0, 1, 0, 1}))},
        {"only-clears", 2, subBlocks(QByteArray(3000, '\x24'))},
        {"only-end", 2, subBlocks(codes(3, {5}))},
        {"code-size-0", 0, subBlocks(codes(1, {1, 0, 1, 0}))},
        {"code-size-1", 1, subBlocks(codes(2, {2, 0, 1, 3}))},
        {"code-size-12", 12, subBlocks(codes(13, {4096, 1, 2, 3, 4097}))},
        {"code-size-13", 13, subBlocks(codes(14, {8192, 1, 2, 3, 8193}))},
        {"code-size-255", 255, subBlocks(QByteArray(64, '\x55'))},
        {"block-past-end", 2, QByteArray("\xff\x04\x00", 3)},
        {"no-blocks", 2, QByteArray()},
        {"table-overflow", 2, subBlocks(randomBytes(5, 20000))},
    };
    for (const auto& l : lzw) {
        add("broken-stream", QStringLiteral("lzw-%1").arg(QLatin1String(l.name)),
            gifBytes(
                Gif{.minimumCodeSize = l.minimumCodeSize, .blocks = l.blocks, .trailer = false}));
    }
    {
        QByteArray extension = sound.left(13 + 6);
        extension.append("\x21\xf9\xff", 3);
        add("points-past-end", QStringLiteral("extension-past-end"), extension);
    }
}

// --- Icons --------------------------------------------------------------------------------

struct IconEntry
{
    quint8 width = 16;
    quint8 height = 16;
    quint8 colours = 0;
    quint16 bitCount = 8;
    QByteArray data;
    std::optional<quint32> sizeOverride{};
    std::optional<quint32> offsetOverride{};
};

[[nodiscard]] QByteArray icoBytes(const QList<IconEntry>& entries, quint16 type = 1,
                                  std::optional<quint16> count = {})
{
    QByteArray out;
    le16(out, 0);
    le16(out, type);
    le16(out, count.value_or(quint16(entries.size())));
    quint32 offset = quint32(6 + 16 * entries.size());
    for (const IconEntry& entry : entries) {
        out.append(char(entry.width)).append(char(entry.height)).append(char(entry.colours));
        out.append('\0');
        le16(out, 1);
        le16(out, entry.bitCount);
        le32(out, entry.sizeOverride.value_or(quint32(entry.data.size())));
        le32(out, entry.offsetOverride.value_or(offset));
        offset += quint32(entry.data.size());
    }
    for (const IconEntry& entry : entries)
        out.append(entry.data);
    return out;
}

// The bitmap inside an icon: the colour rows and then the transparency mask, height doubled.
[[nodiscard]] QByteArray iconDib(Dib dib)
{
    const qint32 rows = std::abs(dib.height);
    if (!dib.pixels) {
        QByteArray pixels = patternRows(dib.width, rows, dib.bitCount);
        pixels.append(QByteArray(qsizetype(rows) * (((dib.width + 31) / 32) * 4), '\0'));
        dib.pixels = pixels;
    }
    dib.height *= 2;
    return dibBytes(dib);
}

[[nodiscard]] QByteArray pngBytes(QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(qRgba(200, 40, 90, 180));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

[[nodiscard]] quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG chunk: its length, type, data and checksum.
[[nodiscard]] QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    chunk += type + data + QByteArray(4, '\0');
    qToBigEndian(crc32(type + data), chunk.data() + chunk.size() - 4);
    return chunk;
}

// A small PNG whose header, with a correct checksum, declares another size.
[[nodiscard]] QByteArray pngWithSize(quint32 width, quint32 height)
{
    QByteArray png = pngBytes({16, 16});
    const qsizetype header = 12; // length, then "IHDR" and its 13 bytes
    png[header + 4] = char(width >> 24);
    png[header + 5] = char(width >> 16);
    png[header + 6] = char(width >> 8);
    png[header + 7] = char(width);
    png[header + 8] = char(height >> 24);
    png[header + 9] = char(height >> 16);
    png[header + 10] = char(height >> 8);
    png[header + 11] = char(height);
    const quint32 crc = crc32(png.mid(header, 4 + 13));
    for (int i = 0; i < 4; ++i)
        png[header + 17 + i] = char(crc >> (24 - 8 * i));
    return png;
}

[[nodiscard]] QByteArray webpBytes(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(40, 200, 90));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "WEBP");
    return buffer.data();
}

// PNG and WebP files: sound ones, the same cut short, and headers that lie.
void addPngsAndWebps(QList<BadPicture>& out)
{
    const Family png(out, QStringLiteral("png-"), QStringLiteral(".png"));
    const QByteArray soundPng = pngBytes({24, 16});
    png("valid", QStringLiteral("sound"), soundPng);
    png.emptyAndCuts(soundPng, {8, 20, 33, 60, soundPng.size() - 12});
    png("huge-size", QStringLiteral("65535x65535"), pngWithSize(65535, 65535));

    const Family webp(out, QStringLiteral("webp-"), QStringLiteral(".webp"));
    const QByteArray soundWebp = webpBytes({24, 16});
    webp("valid", QStringLiteral("sound"), soundWebp);
    webp.emptyAndCuts(soundWebp, {12, 20, 30, soundWebp.size() / 2, soundWebp.size() - 1});
    // A lossless picture whose header says 16384 x 16384.
    webp("huge-size", QStringLiteral("lossless-16384x16384"),
         QByteArray("RIFF\x22\0\0\0WEBPVP8L\x15\0\0\0\x2f\xff\xff\xff\x0f", 25) +
             QByteArray(17, '\0'));
    webp("broken-stream", QStringLiteral("damaged-data"),
         soundWebp.left(30) + randomBytes(6, soundWebp.size() - 30));
}

void addIcons(QList<BadPicture>& out)
{
    const Family add(out, QStringLiteral("ico-"), QStringLiteral(".ico"));
    const QByteArray dib = iconDib(Dib{});
    const QByteArray sound = icoBytes({IconEntry{.data = dib}});
    add("valid", QStringLiteral("sound"), sound);
    add("valid", QStringLiteral("sound-png"), icoBytes({IconEntry{.data = pngBytes({16, 16})}}));
    add.emptyAndCuts(sound, {2, 5, 6, 10, 21, 22, 40, 62, 62 + 1024, sound.size() - 1});
    add("header-only", QStringLiteral("directory-only"), sound.left(22));
    add("header-only", QStringLiteral("no-entries"), icoBytes({}));

    add("points-past-end", QStringLiteral("offset-past-end"),
        icoBytes({IconEntry{.data = dib, .offsetOverride = 0x7fffff00u}}));
    add("points-past-end", QStringLiteral("offset-max"),
        icoBytes({IconEntry{.data = dib, .offsetOverride = 0xffffffffu}}));
    add("points-past-end", QStringLiteral("size-past-end"),
        icoBytes({IconEntry{.data = dib, .sizeOverride = 0x7fffffffu}}));
    add("points-past-end", QStringLiteral("offset-into-directory"),
        icoBytes({IconEntry{.data = dib, .offsetOverride = 2u}}));
    add("points-past-end", QStringLiteral("count-65535"),
        icoBytes({IconEntry{.data = dib}}, 1, 65535));
    add("points-past-end", QStringLiteral("second-entry-past-end"),
        icoBytes({IconEntry{.data = dib}, IconEntry{.data = dib, .offsetOverride = 0x00ffffffu}}));

    for (const auto& [width, height] : {std::pair<qint32, qint32>{65535, 65535},
                                        {INT_MAX / 2, 16},
                                        {16, INT_MAX / 2},
                                        {100000, 100000}}) {
        Dib huge{.width = width, .height = height, .pixels = QByteArray(128, '\x11')};
        add("huge-size", QStringLiteral("bitmap-%1x%2").arg(width).arg(height),
            icoBytes({IconEntry{.width = 0, .height = 0, .data = iconDib(huge)}}));
    }
    add("huge-size", QStringLiteral("png-inside-65535x65535"),
        icoBytes({IconEntry{.width = 0, .height = 0, .data = pngWithSize(65535, 65535)}}));
    add("huge-size", QStringLiteral("png-inside-8000x8000"),
        icoBytes({IconEntry{.width = 0, .height = 0, .data = pngWithSize(8000, 8000)}}));
    for (const auto& [width, height] :
         {std::pair<qint32, qint32>{0, 0}, {0, 16}, {-16, 16}, {16, -16}, {16, INT_MIN / 2}}) {
        Dib odd{.width = width, .height = height, .pixels = QByteArray(128, '\x11')};
        add("zero-or-negative-size", QStringLiteral("bitmap-%1x%2").arg(width).arg(height),
            icoBytes({IconEntry{.data = iconDib(odd)}}));
    }

    add("palette-out-of-range", QStringLiteral("index-255-of-2"),
        icoBytes({IconEntry{
            .colours = 2,
            .data = iconDib(Dib{.colorsUsed = 2, .pixels = QByteArray(256 + 64, '\xff')})}}));
    add("palette-out-of-range", QStringLiteral("4bit-index-15-of-1"),
        icoBytes({IconEntry{
            .bitCount = 4,
            .data = iconDib(
                Dib{.bitCount = 4, .colorsUsed = 1, .pixels = QByteArray(128 + 64, '\xff')})}}));

    add("bad-colour-table", QStringLiteral("colours-used-max"),
        icoBytes(
            {IconEntry{.data = iconDib(Dib{.colorsUsed = 0xffffffffu, .paletteEntries = 256})}}));
    add("bad-colour-table", QStringLiteral("table-missing"),
        icoBytes({IconEntry{.data = iconDib(Dib{.paletteEntries = 0, .pixels = QByteArray()})}}));
    for (const quint16 bits : {0, 3, 64})
        add("bad-colour-table", QStringLiteral("bit-count-%1").arg(bits),
            icoBytes({IconEntry{.bitCount = bits,
                                .data = iconDib(Dib{.bitCount = bits, .paletteEntries = 0})}}));
    add("broken-stream", QStringLiteral("png-inside-damaged"),
        icoBytes({IconEntry{.data = pngBytes({16, 16}).left(60) + randomBytes(3, 200)}}));
    add("broken-stream", QStringLiteral("rle8-inside"),
        icoBytes({IconEntry{
            .data = iconDib(
                Dib{.compression = 1, .pixels = QByteArray("\xff\x01\x00\x02\xff\xff", 6)})}}));
    add("bad-directory-type", QStringLiteral("cursor-type"), icoBytes({IconEntry{.data = dib}}, 2));
    add("bad-directory-type", QStringLiteral("type-7"), icoBytes({IconEntry{.data = dib}}, 7));
}

void addWrongFormats(QList<BadPicture>& out)
{
    const QByteArray png = pngBytes({20, 20});
    const QByteArray bmp = bmpBytes(Dib{});
    const QByteArray jpeg = encodeJpeg(false);
    const QByteArray gif = gifBytes(Gif{});
    const QByteArray ico = icoBytes({IconEntry{.data = iconDib(Dib{})}});
    const struct
    {
        const char* name;
        const QByteArray& bytes;
    } named[] = {
        {"png.bmp", png},   {"png.jpg", png},   {"png.gif", png}, {"png.ico", png},
        {"bmp.jpg", bmp},   {"bmp.gif", bmp},   {"bmp.ico", bmp}, {"jpeg.bmp", jpeg},
        {"jpeg.gif", jpeg}, {"jpeg.ico", jpeg}, {"gif.bmp", gif}, {"gif.jpeg", gif},
        {"gif.ico", gif},   {"ico.bmp", ico},   {"ico.jpg", ico}, {"ico.gif", ico},
        {"jpeg.png", jpeg}, {"gif.webp", gif},
    };
    for (const auto& n : named) {
        out.append({"wrong-format", QStringLiteral("wrong-") + QLatin1String(n.name), n.bytes});
    }
}

void addRandom(QList<BadPicture>& out)
{
    const struct
    {
        const char* extension;
        QByteArray magic;
    } types[] = {
        {"bmp", QByteArray("BM")},
        {"jpg", QByteArray("\xff\xd8\xff", 3)},
        {"gif", QByteArray("GIF89a")},
        {"ico", QByteArray("\0\0\1\0", 4)},
        {"png", QByteArray("\x89PNG\r\n\x1a\n", 8)},
        {"webp", QByteArray("RIFF\0\0\0\0WEBPVP8L", 16)},
    };
    std::uint32_t seed = 1;
    for (const auto& type : types) {
        for (const qsizetype size : {1, 64, 4096, 65536}) {
            out.append({"random-bytes",
                        QStringLiteral("random-%1-%2.%3")
                            .arg(QLatin1String(type.extension))
                            .arg(size)
                            .arg(QLatin1String(type.extension)),
                        randomBytes(seed++, size)});
            out.append({"random-bytes",
                        QStringLiteral("random-magic-%1-%2.%3")
                            .arg(QLatin1String(type.extension))
                            .arg(size)
                            .arg(QLatin1String(type.extension)),
                        type.magic + randomBytes(seed++, size)});
        }
    }
}

// --- Pictures made to take the decoders' memory or time -----------------------------------

[[nodiscard]] QByteArray jpegSegment(uchar marker, const QByteArray& body)
{
    QByteArray out;
    out.append(char(0xff)).append(char(marker));
    out.append(char((body.size() + 2) >> 8)).append(char((body.size() + 2) & 0xff));
    return out + body;
}

// Quantisation and Huffman tables of one entry each: every block decodes from a bit or two.
[[nodiscard]] QByteArray jpegTables()
{
    QByteArray quant(1, '\0');
    quant.append(QByteArray(64, '\1'));
    QByteArray huffman;
    for (const char table : {'\x00', '\x10'}) {
        huffman.append(table).append('\1').append(QByteArray(15, '\0')).append('\0');
    }
    return jpegSegment(0xdb, quant) + jpegSegment(0xc4, huffman);
}

[[nodiscard]] QByteArray jpegFrame(uchar marker, quint16 width, quint16 height, int components)
{
    QByteArray frame;
    frame.append('\x08');
    frame.append(char(height >> 8)).append(char(height & 0xff));
    frame.append(char(width >> 8)).append(char(width & 0xff));
    frame.append(char(components));
    for (int c = 1; c <= components; ++c)
        frame.append(char(c)).append('\x11').append('\0');
    return jpegSegment(marker, frame);
}

// A scan of the given components over coefficients first..last, with a little entropy data.
[[nodiscard]] QByteArray jpegScan(std::initializer_list<int> components, int first, int last)
{
    QByteArray scan;
    scan.append(char(components.size()));
    for (const int c : components)
        scan.append(char(c)).append('\0');
    scan.append(char(first)).append(char(last)).append('\0');
    return jpegSegment(0xda, scan) + QByteArray(2, '\0');
}

// Entropy-coded bits, most significant first, with a zero stuffed after each 0xFF byte.
class JpegBits
{
public:
    void put(quint32 value, int width)
    {
        for (int bit = width - 1; bit >= 0; --bit) {
            m_current = (m_current << 1) | ((value >> bit) & 1u);
            if (++m_bits == 8) {
                m_bytes.append(char(m_current));
                if (m_current == 0xff)
                    m_bytes.append('\0');
                m_current = 0;
                m_bits = 0;
            }
        }
    }
    [[nodiscard]] QByteArray finish()
    {
        while (m_bits != 0)
            put(1, 1);
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_current = 0;
    int m_bits = 0;
};

// A progressive grey JPEG of side x side whose AC scans, one for each byte of approximations
// (high 4 bits: the bit refined, low: the bit reached), are each an end-of-band run over every
// block in a few bytes; after a DC scan that codes each block in one bit when withDc.
[[nodiscard]] QByteArray progressiveRuns(quint16 side, const QByteArray& approximations,
                                         bool withDc)
{
    // One code each: DC difference 0, and a run of 16384 blocks and more (EOB14).
    QByteArray huffman("\x00\x01", 2);
    huffman.append(QByteArray(15, '\0')).append('\0');
    huffman.append("\x10\x01", 2).append(QByteArray(15, '\0')).append('\xe0');
    QByteArray jpeg = QByteArray("\xff\xd8", 2) +
                      jpegSegment(0xdb, QByteArray(1, '\0') + QByteArray(64, '\1')) +
                      jpegSegment(0xc4, huffman) + jpegFrame(0xc2, side, side, 1);
    const qint64 blocks = qint64((side + 7) / 8) * ((side + 7) / 8);
    if (withDc) {
        jpeg += jpegSegment(0xda, QByteArray("\x01\x01\0\0\0\0", 6));
        jpeg += QByteArray((blocks + 7) / 8, '\0');
    }
    JpegBits runs;
    for (qint64 left = blocks; left > 0;) {
        const qint64 run = left <= 32767 ? left : left - 32767 < 16384 ? left - 16384 : 32767;
        runs.put(0, 1);
        runs.put(quint32(run - 16384), 14);
        left -= run;
    }
    const QByteArray data = runs.finish();
    for (const char bits : approximations)
        jpeg += jpegSegment(0xda, QByteArray("\x01\x01\0\x01\x3f", 5) + bits) + data;
    return jpeg + QByteArray("\xff\xd9", 2);
}

void addHostile(QList<BadPicture>& out)
{
    const Family add(out, QStringLiteral("hostile-"), QString());
    const QByteArray start("\xff\xd8", 2);
    const QByteArray end("\xff\xd9", 2);
    // Sequential, but one scan per colour: the decoder holds every coefficient of the picture.
    for (const quint16 side : {20000, 40000, 65500}) {
        add("huge-size", QStringLiteral("multi-scan-baseline-%1.jpg").arg(side),
            start + jpegTables() + jpegFrame(0xc0, side, side, 3) + jpegScan({1}, 0, 63) +
                jpegScan({2}, 0, 63) + jpegScan({3}, 0, 63) + end);
    }
    // Progressive, behind a stuffed zero that a naive marker walk takes for a segment whose
    // length jumps to a sequential frame header after the end.
    {
        const QByteArray body =
            jpegTables() + jpegFrame(0xc2, 20000, 20000, 3) + jpegScan({1, 2, 3}, 0, 0) + end;
        QByteArray disguised = start + QByteArray("\xff\x00", 2);
        disguised.append(char((body.size() + 2) >> 8)).append(char((body.size() + 2) & 0xff));
        add("huge-size", QStringLiteral("disguised-progressive.jpg"),
            disguised + body + jpegFrame(0xc0, 16, 16, 3));
    }
    // A thousand scans, each one more pass over a picture of 67 million pixels.
    add("endless-stream", QStringLiteral("scan-flood.jpg"),
        progressiveJpegWithScans(8192, 8190, 1000));

    // A tiny picture whose codes go on unpacking: the table is filled with ever longer strings,
    // then the longest is sent again and again, thousands of pixels each.
    for (const quint16 side : {1, 64}) {
        add("endless-stream", QStringLiteral("lzw-endless-%1x%1.gif").arg(side),
            gifBytes(
                Gif{.width = side, .height = side, .blocks = subBlocks(endlessCodes(300000))}));
    }
    // Pictures behind a comment longer than the first 64 kB: one of 65535 x 65535 on a screen of
    // 1000, whose codes unpack into all its pixels, and a screen of 8000 whose picture's area is
    // to be restored, which takes a second copy of it.
    {
        QByteArray comment("\x21\xfe", 2);
        comment.append(subBlocks(QByteArray(76 * 1024, 'c')));
        const auto behindComment = [&](quint16 screen, quint16 side, const QByteArray& control,
                                       qsizetype codeBytes) {
            QByteArray gif = gifBytes(Gif{.screenWidth = screen,
                                          .screenHeight = screen,
                                          .width = side,
                                          .height = side,
                                          .blocks = subBlocks(endlessCodes(codeBytes))});
            // Before the picture, after the screen and its table of four colours.
            return gif.insert(13 + 12, comment + control);
        };
        add("huge-size", QStringLiteral("comment-then-picture-65535.gif"),
            behindComment(1000, 65535, {}, 1600 * 1024));
        add("huge-size", QStringLiteral("comment-then-restore-8000.gif"),
            behindComment(8000, 8000, QByteArray("\x21\xf9\x04\x0c\0\0\0\0", 8), 24 * 1024));
    }
    // JPEGs whose few bytes make the decoder go over every block of a huge picture: arithmetic
    // coding with no coded data at all, and 40 refinement scans of end-of-band runs, alone or
    // after a DC scan that takes a bit a block, or refining one bit at a time.
    add("huge-size", QStringLiteral("arithmetic-65500-no-data.jpg"),
        start + jpegSegment(0xdb, QByteArray(1, '\0') + QByteArray(64, '\1')) +
            jpegFrame(0xc9, 65500, 65500, 3) +
            jpegSegment(0xda, QByteArray("\x03\x01\0\x02\0\x03\0\0\x3f\0", 10)) + end);
    add("huge-size", QStringLiteral("refinement-scans-10900.jpg"),
        progressiveRuns(10900, QByteArray(40, '\x10'), false));
    add("huge-size", QStringLiteral("refinement-scans-after-dc-10900.jpg"),
        progressiveRuns(10900, QByteArray(39, '\x10'), true));
    // A progression that refines every coefficient bit by bit, 14 passes over them.
    QByteArray bitByBit(1, '\x0d');
    for (char refined = 13; refined > 0; --refined)
        bitByBit.append(char(refined << 4 | (refined - 1)));
    add("huge-size", QStringLiteral("bit-by-bit-10900.jpg"),
        progressiveRuns(10900, bitByBit, true));
    // A large transparent screen behind a picture of one pixel.
    {
        QByteArray gif("GIF89a");
        le16(gif, 8192);
        le16(gif, 8192);
        gif.append(char(0x80)).append('\0').append('\0');
        gif.append(QByteArray("\0\0\0\xff\xff\xff", 6));
        gif.append(QByteArray("\x21\xf9\x04\x01\0\0\0\0", 8));
        gif.append(',');
        le16(gif, 0);
        le16(gif, 0);
        le16(gif, 1);
        le16(gif, 1);
        gif.append('\0').append('\2').append(subBlocks(codes(3, {4, 1, 5}))).append(';');
        add("huge-size", QStringLiteral("screen-8192-picture-1x1.gif"), gif);
    }
    // A real PNG of 8192 x 8192 one-bit pixels inside an icon whose directory says 256.
    {
        QByteArray rows;
        const QByteArray row(1 + 8192 / 8, '\0');
        for (int y = 0; y < 8192; ++y)
            rows.append(row);
        const QByteArray compressed = qCompress(rows, 9).mid(4);
        const QByteArray png =
            QByteArray("\x89PNG\r\n\x1a\n", 8) +
            pngChunk("IHDR", QByteArray("\0\0\x20\0\0\0\x20\0\x01\0\0\0\0", 13)) +
            pngChunk("IDAT", compressed) + pngChunk("IEND", {});
        add("huge-size", QStringLiteral("png-8192x8192-inside.ico"),
            icoBytes({IconEntry{.width = 0, .height = 0, .data = png}}));
    }
    // Texts that unpack to 80 and 240 MB beside a picture of one pixel, in a PNG and in an icon.
    add("huge-size", QStringLiteral("png-10-texts-of-8mb.png"), pngBehindTexts(10));
    add("huge-size", QStringLiteral("png-30-texts-of-8mb.png"), pngBehindTexts(30));
    add("huge-size", QStringLiteral("png-30-texts-of-8mb-inside.ico"),
        icoBytes({IconEntry{.width = 1, .height = 1, .data = pngBehindTexts(30)}}));
    // Run-length bitmaps of a huge size whose data is only the end of the picture.
    const struct
    {
        const char* name;
        qint32 width;
        qint32 height;
        quint16 bitCount;
        quint32 compression;
    } runs[] = {
        {"rle8-8192x8192", 8192, 8192, 8, 1},
        {"rle8-top-down-8192x8192", 8192, -8192, 8, 1},
        {"rle4-32768x32768", 32768, 32768, 4, 2},
    };
    for (const auto& r : runs) {
        add("huge-size", QStringLiteral("%1-no-data.bmp").arg(QLatin1String(r.name)),
            bmpBytes(Dib{.width = r.width,
                         .height = r.height,
                         .bitCount = r.bitCount,
                         .compression = r.compression,
                         .colorsUsed = 1,
                         .pixels = QByteArray("\0\1", 2)}));
    }
}

} // namespace

QByteArray progressiveJpegWithScans(quint16 width, quint16 height, int scans)
{
    QByteArray jpeg = QByteArray("\xff\xd8", 2) + jpegTables() + jpegFrame(0xc2, width, height, 1);
    for (int i = 0; i < scans; ++i)
        jpeg.append(jpegScan({1}, 0, 0));
    return jpeg + QByteArray("\xff\xd9", 2);
}

QByteArray pngBehindTexts(int count, bool compressed)
{
    const QByteArray text(7'900'000, 'a');
    const QByteArray packed = qCompress(text, 9).mid(4);
    QByteArray texts;
    for (int i = 0; i < count; ++i)
        texts += !compressed  ? pngChunk("tEXt", QByteArray("Comment\0", 8) + text)
                 : i % 3 == 2 ? pngChunk("iTXt", QByteArray("Comment\0\1\0\0\0", 12) + packed)
                              : pngChunk("zTXt", QByteArray("Comment\0\0", 9) + packed);
    // After the header chunk.
    return pngBytes({1, 1}).insert(8 + 12 + 13, texts);
}

QList<BadPicture> badPictures()
{
    QList<BadPicture> pictures;
    addBitmaps(pictures);
    addJpegs(pictures);
    addGifs(pictures);
    addIcons(pictures);
    addPngsAndWebps(pictures);
    addTiffsAndSvgs(pictures);
    addWrongFormats(pictures);
    addRandom(pictures);
    addHostile(pictures);
    return pictures;
}

bool writeBadPictures(const QList<BadPicture>& pictures, const QString& folder)
{
    for (const BadPicture& picture : pictures) {
        QFile file(QDir(folder).filePath(picture.name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(picture.bytes) != picture.bytes.size())
            return false;
    }
    return true;
}

} // namespace zelvo::test
