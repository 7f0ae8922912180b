#include "StoredResolution.h"

#include "ByteFields.h"
#include "PictureBudget.h"
#include "PictureFile.h"
#include "PictureHeaders.h"

#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace zelvo {

namespace {

constexpr double InchesPerMetre = 1 / 0.0254;
constexpr double CentimetresPerInch = 2.54;
// How many segments or chunks are walked before the picture's data; real files have a dozen.
constexpr int MaxWalkSteps = 256;
// The most entries of a TIFF directory read: the resolution tags come early in their order.
constexpr qint64 MaxTiffEntries = 1024;
const QByteArrayView PngSignature("\x89PNG\r\n\x1a\n", 8);

[[nodiscard]] quint16 be16At(QByteArrayView bytes, qsizetype at)
{
    return qFromBigEndian<quint16>(bytes.data() + at);
}

[[nodiscard]] StoredResolution perInch(double across, double down)
{
    return {StoredResolution::Unit::PixelsPerInch, across, down};
}

[[nodiscard]] ByteSource inMemory(QByteArrayView bytes)
{
    return [bytes](qint64 offset, qint64 length) {
        if (offset < 0 || length <= 0 || offset >= bytes.size())
            return QByteArray();
        return bytes.sliced(offset, std::min(length, bytes.size() - offset)).toByteArray();
    };
}

// A TIFF structure from base: a TIFF file's, or the one inside a JPEG's Exif segment.
class TiffWalk
{
public:
    TiffWalk(const ByteSource& bytes, qint64 base) : m_bytes(bytes), m_base(base) {}

    [[nodiscard]] PictureMeasure firstDirectory()
    {
        const QByteArray header = m_bytes(m_base, 8);
        if (header.size() < 8 || (!header.startsWith("II*\0") && !header.startsWith("MM\0*")))
            return {};
        m_little = header[0] == 'I';
        const qint64 at = m_base + u32(header, 4);
        const QByteArray count = m_bytes(at, 2);
        if (count.size() < 2)
            return {};
        const qint64 entries = std::min<qint64>(u16(count, 0), MaxTiffEntries);
        const QByteArray directory = m_bytes(at + 2, entries * 12);
        std::optional<double> across;
        std::optional<double> down;
        qint64 unit = 2; // inches unless the file says otherwise
        PictureMeasure measure;
        for (qsizetype entry = 0; entry + 12 <= directory.size(); entry += 12) {
            const QByteArrayView field = QByteArrayView(directory).sliced(entry, 12);
            switch (u16(field, 0)) {
            case 256:
                measure.pixels.setWidth(int(std::min<qint64>(value(field), INT_MAX)));
                break;
            case 257:
                measure.pixels.setHeight(int(std::min<qint64>(value(field), INT_MAX)));
                break;
            case 282:
                across = rational(field);
                break;
            case 283:
                down = rational(field);
                break;
            case 296:
                unit = value(field);
                break;
            default:
                break;
            }
        }
        if (across && (unit == 2 || unit == 3)) {
            const double factor = unit == 3 ? CentimetresPerInch : 1.0;
            measure.resolution = perInch(*across * factor, down.value_or(*across) * factor);
        }
        return measure;
    }

private:
    [[nodiscard]] quint16 u16(QByteArrayView bytes, qsizetype at) const
    {
        return m_little ? le16At(bytes, at) : be16At(bytes, at);
    }
    [[nodiscard]] quint32 u32(QByteArrayView bytes, qsizetype at) const
    {
        return m_little ? le32At(bytes, at) : be32At(bytes, at);
    }
    // A short or long held in the entry itself.
    [[nodiscard]] qint64 value(QByteArrayView field) const
    {
        return u16(field, 2) == 3 ? u16(field, 8) : u32(field, 8);
    }
    // A rational stored where the entry points; a short or long held in it.
    [[nodiscard]] std::optional<double> rational(QByteArrayView field) const
    {
        if (u16(field, 2) != 5)
            return double(value(field));
        const QByteArray pair = m_bytes(m_base + u32(field, 8), 8);
        if (pair.size() < 8 || u32(pair, 4) == 0)
            return std::nullopt;
        return double(u32(pair, 0)) / u32(pair, 4);
    }

    const ByteSource& m_bytes;
    qint64 m_base;
    bool m_little = true;
};

// The JFIF density comes first; an Exif resolution is taken where the JFIF one is no length.
[[nodiscard]] PictureMeasure jpegMeasure(const ByteSource& bytes)
{
    PictureMeasure measure;
    std::optional<StoredResolution> exif;
    qint64 at = 2;
    for (int step = 0; step < MaxWalkSteps; ++step) {
        const QByteArray marker = bytes(at, 4);
        if (marker.size() < 4 || uchar(marker[0]) != 0xff)
            break;
        const uchar kind = uchar(marker[1]);
        if (kind == 0xff) { // fill byte
            ++at;
            continue;
        }
        if (kind == 0xd9 || kind == 0xda)
            break;
        if (kind == 0x01 || (kind >= 0xd0 && kind <= 0xd7)) {
            at += 2;
            continue;
        }
        const qint64 length = be16At(marker, 2);
        if (kind == 0xe0 && !measure.resolution) {
            const QByteArray app = bytes(at + 4, 12);
            const uchar units = app.size() >= 12 ? uchar(app[7]) : 0;
            if (app.startsWith(QByteArrayView("JFIF\0", 5)) && (units == 1 || units == 2)) {
                const double factor = units == 2 ? CentimetresPerInch : 1.0;
                measure.resolution = perInch(be16At(app, 8) * factor, be16At(app, 10) * factor);
            }
        } else if (kind == 0xe1 && !exif) {
            if (bytes(at + 4, 6) == QByteArrayView("Exif\0\0", 6))
                exif = TiffWalk(bytes, at + 10).firstDirectory().resolution;
        } else if (kind >= 0xc0 && kind <= 0xcf && kind != 0xc4 && kind != 0xc8 && kind != 0xcc) {
            const QByteArray frame = bytes(at + 4, 5);
            if (frame.size() == 5)
                measure.pixels = QSize(be16At(frame, 3), be16At(frame, 1));
            break;
        }
        at += 2 + length;
    }
    if (!measure.resolution)
        measure.resolution = exif;
    return measure;
}

[[nodiscard]] PictureMeasure pngMeasure(const ByteSource& bytes)
{
    PictureMeasure measure;
    qint64 at = PngSignature.size();
    for (int step = 0; step < MaxWalkSteps; ++step) {
        const QByteArray chunk = bytes(at, 8 + 9);
        if (chunk.size() < 8)
            break;
        const qint64 length = be32At(chunk, 0);
        const QByteArrayView type = QByteArrayView(chunk).sliced(4, 4);
        if (type == "IDAT" || type == "IEND" || length > 0x7fffffff)
            break;
        if (type == "IHDR" && chunk.size() >= 16)
            measure.pixels = QSize(int(std::min<quint32>(be32At(chunk, 8), INT_MAX)),
                                   int(std::min<quint32>(be32At(chunk, 12), INT_MAX)));
        // Pixels per metre, when the unit is the metre rather than unknown.
        if (type == "pHYs" && chunk.size() >= 17 && chunk[16] == 1)
            measure.resolution =
                perInch(be32At(chunk, 8) / InchesPerMetre, be32At(chunk, 12) / InchesPerMetre);
        at += 12 + length;
    }
    return measure;
}

[[nodiscard]] PictureMeasure bitmapMeasure(QByteArrayView head)
{
    PictureMeasure measure;
    if (head.size() < 26)
        return measure;
    const quint32 header = le32At(head, 14);
    if (header == 12) {
        measure.pixels = QSize(le16At(head, 18), le16At(head, 20));
        return measure;
    }
    const qint64 height = std::abs(qint64(qint32(le32At(head, 22))));
    measure.pixels = QSize(int(std::min<qint64>(qint32(le32At(head, 18)), INT_MAX)),
                           int(std::min<qint64>(height, INT_MAX)));
    if (header >= 40 && head.size() >= 46) {
        const qint32 across = qint32(le32At(head, 38));
        const qint32 down = qint32(le32At(head, 42));
        // No resolution is written as 0.
        if (across > 0 && down > 0)
            measure.resolution = perInch(across / InchesPerMetre, down / InchesPerMetre);
    }
    return measure;
}

// A length in cm, mm, in, pt or pc, in inches; nothing for pixels, percentages and plain numbers,
// which say nothing of paper.
[[nodiscard]] std::optional<double> physicalInches(QStringView text)
{
    static const QRegularExpression length(
        QStringLiteral(R"(^\s*\+?(\d*\.?\d+(?:[eE][+-]?\d+)?)\s*(cm|mm|in|pt|pc)\s*$)"));
    const QRegularExpressionMatch match = length.match(text.toString());
    if (!match.hasMatch())
        return std::nullopt;
    constexpr std::array<std::pair<const char*, double>, 5> PerInch{
        {{"cm", 2.54}, {"mm", 25.4}, {"in", 1}, {"pt", 72}, {"pc", 6}}};
    const double value = match.captured(1).toDouble();
    for (const auto& [unit, each] : PerInch) {
        if (match.capturedView(2) == QLatin1String(unit))
            return value / each;
    }
    return std::nullopt;
}

// The root element's width and height, read from the head of the file; nothing beyond it is
// parsed.
[[nodiscard]] PictureMeasure svgMeasure(QByteArrayView head)
{
    QXmlStreamReader xml(head.toByteArray());
    while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::StartElement) {
    }
    if (!xml.isStartElement() || xml.name() != QLatin1String("svg"))
        return {};
    const QXmlStreamAttributes attributes = xml.attributes();
    const std::optional<double> width = physicalInches(attributes.value(QLatin1String("width")));
    const std::optional<double> height = physicalInches(attributes.value(QLatin1String("height")));
    if (!width || !height)
        return {};
    return {{}, StoredResolution{StoredResolution::Unit::Inches, *width, *height}};
}

} // namespace

PictureMeasure pictureMeasure(const ByteSource& bytes)
{
    const QByteArray head = bytes(0, PictureHeadBytes);
    if (head.startsWith(QByteArrayView("\xff\xd8\xff", 3)))
        return jpegMeasure(bytes);
    if (head.startsWith(PngSignature))
        return pngMeasure(bytes);
    if (head.startsWith("BM"))
        return bitmapMeasure(head);
    if (head.startsWith("II*\0") || head.startsWith("MM\0*"))
        return TiffWalk(bytes, 0).firstDirectory();
    if (head.startsWith("GIF8") && head.size() >= 10)
        return {QSize(le16At(head, 6), le16At(head, 8)), std::nullopt};
    if (const std::optional<DecodedSize> webp = webpDecodedSize(head))
        return {QSize(int(std::min<qint64>(webp->width, INT_MAX)),
                      int(std::min<qint64>(webp->height, INT_MAX))),
                std::nullopt};
    if (head.contains("<svg"))
        return svgMeasure(head);
    return {};
}

PictureMeasure pictureMeasure(QByteArrayView file)
{
    return pictureMeasure(inMemory(file));
}

PictureMeasure readPictureMeasure(const QString& path)
{
    const std::optional<PictureFile> file = PictureFile::open(path);
    if (!file)
        return {};
    return pictureMeasure([&file](qint64 offset, qint64 length) {
        QByteArray bytes(qsizetype(std::clamp<qint64>(length, 0, PictureHeadBytes)), '\0');
        const qint64 read = offset < 0 ? -1 : file->readAt(offset, bytes.data(), bytes.size());
        bytes.resize(qsizetype(std::max<qint64>(read, 0)));
        return bytes;
    });
}

} // namespace zelvo
