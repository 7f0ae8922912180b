#include "SvgScan.h"

#include "PictureBudget.h"
#include "PictureHeaders.h"
#include "SvgDocument.h"

#include <algorithm>

namespace zelvo::svg {

namespace {

// How long a chain of <use> elements, each referring to the next, may be.
constexpr int MaxUseChain = 256;
// How many bytes are walked between two looks at whether to stop.
constexpr qsizetype BytesBetweenLooks = 256 * 1024;

[[nodiscard]] bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

class DrawnCount
{
public:
    DrawnCount(const Outline& outline, qint64 most)
        : m_outline(outline), m_most(most), m_firstChild(outline.nodes.size(), -1),
          m_nextSibling(outline.nodes.size(), -1), m_drawn(outline.nodes.size(), -1)
    {
        std::vector<int> lastChild(outline.nodes.size(), -1);
        for (std::size_t i = 1; i < outline.nodes.size(); ++i) {
            const auto parent = std::size_t(outline.nodes[i].parent);
            (lastChild[parent] < 0 ? m_firstChild[parent]
                                   : m_nextSibling[std::size_t(lastChild[parent])]) = int(i);
            lastChild[parent] = int(i);
        }
    }

    [[nodiscard]] std::optional<qint64> of(int node, int chain = 0)
    {
        qint64& drawn = m_drawn[std::size_t(node)];
        if (drawn == InProgress || chain > MaxUseChain)
            return std::nullopt;
        if (drawn >= 0)
            return drawn;
        drawn = InProgress;
        qint64 total = 1;
        for (int child = m_firstChild[std::size_t(node)]; child >= 0;
             child = m_nextSibling[std::size_t(child)]) {
            const std::optional<qint64> each = of(child, chain);
            if (!each)
                return std::nullopt;
            total = std::min(total + *each, m_most + 1);
        }
        if (const QString& target = m_outline.nodes[std::size_t(node)].useTarget;
            !target.isEmpty()) {
            if (const auto found = m_outline.ids.constFind(target); found != m_outline.ids.cend()) {
                const std::optional<qint64> used = of(*found, chain + 1);
                if (!used)
                    return std::nullopt;
                total = std::min(total + *used, m_most + 1);
            }
        }
        m_drawn[std::size_t(node)] = total;
        return total;
    }

private:
    static constexpr qint64 InProgress = -2;
    const Outline& m_outline;
    qint64 m_most;
    std::vector<int> m_firstChild;
    std::vector<int> m_nextSibling;
    std::vector<qint64> m_drawn;
};

// A JPEG's size, by its frame header.
[[nodiscard]] std::optional<qint64> jpegPixels(QByteArrayView bytes)
{
    for (qsizetype at = 2; at + 9 < bytes.size();) {
        const auto byte = [&bytes](qsizetype i) { return qint64(uchar(bytes[i])); };
        if (byte(at) != 0xff)
            return std::nullopt;
        const qint64 marker = byte(at + 1);
        if (marker == 0xff) {
            ++at;
            continue;
        }
        if (marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc)
            return (byte(at + 5) << 8 | byte(at + 6)) * (byte(at + 7) << 8 | byte(at + 8));
        at += 2 + (byte(at + 2) << 8 | byte(at + 3));
    }
    return std::nullopt;
}

// The pixels of the picture a data: reference holds, by its header.
[[nodiscard]] std::optional<qint64> embeddedPixels(QByteArrayView reference)
{
    // Enough of the data to hold the header of any of the loader's types.
    constexpr qsizetype HeadChars = 88 * 1024;
    const qsizetype comma = reference.indexOf(',');
    if (comma < 0 || !reference.trimmed().startsWith("data:"))
        return std::nullopt;
    const QByteArray data = reference.sliced(comma + 1)
                                .first(std::min(HeadChars, reference.size() - comma - 1))
                                .toByteArray();
    const QByteArray head = reference.first(comma).contains(";base64")
                                ? QByteArray::fromBase64(data)
                                : QByteArray::fromPercentEncoding(data);
    const std::optional<QByteArray> format = pictureFormatOf(head);
    std::optional<DecodedSize> size;
    if (format == "png")
        size = pngDecodedSize(head);
    else if (format == "bmp")
        size = bitmapDecodedSize(head);
    else if (format == "gif")
        size = gifDecodedSize(head);
    else if (format == "webp")
        size = webpDecodedSize(head);
    else if (format == "jpeg")
        return jpegPixels(head);
    if (!size || size->width > Unbounded / std::max<qint64>(size->height, 1))
        return std::nullopt;
    return size->width * size->height;
}

} // namespace

bool embeddedPictureFits(QByteArrayView reference, Outline& outline)
{
    const std::optional<qint64> pixels = embeddedPixels(reference);
    if (!pixels || 4 * (outline.embeddedPixels + *pixels) > PictureBudgetBytes / 2)
        return false;
    outline.embeddedPixels += *pixels;
    return true;
}

bool inDocument(QStringView reference)
{
    reference = reference.trimmed();
    return reference.startsWith(u'#') || reference.startsWith(u"data:", Qt::CaseInsensitive);
}

Scan scanPlainMarkup(QByteArrayView bytes, Outline& outline, const LoadGuard& guard)
{
    std::vector<int> open;
    const qsizetype end = bytes.size();
    qsizetype nextLook = 0;
    // Just past the text `what` from at, or end.
    const auto past = [&bytes, end](qsizetype at, QByteArrayView what) {
        const qsizetype found = bytes.indexOf(what, at);
        return found < 0 ? end : found + what.size();
    };
    for (qsizetype at = bytes.indexOf('<'); at >= 0 && at < end; at = bytes.indexOf('<', at)) {
        if (at >= nextLook) {
            if (guard.stopped())
                return Scan::Refused;
            nextLook = at + BytesBetweenLooks;
        }
        const QByteArrayView rest = bytes.sliced(at);
        if (rest.startsWith("<!--")) {
            at = past(at + 4, "-->");
        } else if (rest.startsWith("<![CDATA[")) {
            at = past(at + 9, "]]>");
        } else if (rest.startsWith("<?")) {
            at = past(at + 2, "?>");
        } else if (rest.startsWith("<!")) {
            // A document type, which may declare entities.
            return Scan::WriteAgain;
        } else if (rest.startsWith("</")) {
            if (open.empty())
                return Scan::Refused;
            open.pop_back();
            at = past(at + 2, ">");
        } else {
            if (open.size() >= std::size_t(MaxSvgDepth) ||
                qint64(outline.nodes.size()) >= MaxSvgDrawnElements)
                return Scan::Refused;
            qsizetype i = at + 1;
            while (i < end && !isSpace(bytes[i]) && bytes[i] != '/' && bytes[i] != '>')
                ++i;
            const QByteArrayView name = bytes.sliced(at + 1, i - at - 1);
            const QByteArrayView local = name.sliced(name.lastIndexOf(':') + 1);
            const int index = int(outline.nodes.size());
            outline.nodes.push_back({open.empty() ? -1 : open.back(), {}});
            if (index == 0 && local != "svg")
                return Scan::Refused;
            // The attributes, each a name, '=' and a quoted value.
            while (true) {
                while (i < end && isSpace(bytes[i]))
                    ++i;
                if (i >= end)
                    return Scan::Refused;
                if (bytes[i] == '>' || bytes.sliced(i).startsWith("/>"))
                    break;
                const qsizetype nameStart = i;
                while (i < end && bytes[i] != '=' && !isSpace(bytes[i]) && bytes[i] != '>')
                    ++i;
                const QByteArrayView attribute = bytes.sliced(nameStart, i - nameStart);
                while (i < end && isSpace(bytes[i]))
                    ++i;
                if (i + 1 >= end || bytes[i] != '=')
                    return Scan::Refused;
                ++i;
                while (i < end && isSpace(bytes[i]))
                    ++i;
                if (i >= end || (bytes[i] != '"' && bytes[i] != '\''))
                    return Scan::Refused;
                const qsizetype close = bytes.indexOf(bytes[i], i + 1);
                if (close < 0)
                    return Scan::Refused;
                const QByteArrayView value = bytes.sliced(i + 1, close - i - 1);
                i = close + 1;
                const QByteArrayView attributeLocal =
                    attribute.sliced(attribute.lastIndexOf(':') + 1);
                if (attributeLocal == "href") {
                    const QString reference = QString::fromUtf8(value);
                    if (value.contains('&') || !inDocument(reference) ||
                        (local == "image" && !reference.startsWith(u'#') &&
                         !embeddedPictureFits(value, outline)))
                        return Scan::WriteAgain;
                    if (local == "use" && reference.startsWith(u'#'))
                        outline.nodes.back().useTarget = reference.mid(1);
                } else if (attribute == "id") {
                    outline.ids.insert(QString::fromUtf8(value), index);
                } else if (index == 0 && attribute == "width") {
                    outline.width = QString::fromUtf8(value);
                } else if (index == 0 && attribute == "height") {
                    outline.height = QString::fromUtf8(value);
                } else if (index == 0 && attribute == "viewBox") {
                    outline.viewBox = QString::fromUtf8(value);
                }
            }
            if (bytes[i] == '>')
                open.push_back(index);
            at = past(i, ">");
        }
    }
    return outline.nodes.empty() || !open.empty() ? Scan::Refused : Scan::AsItIs;
}

std::optional<qint64> drawnElements(const Outline& outline, qint64 most)
{
    if (outline.nodes.empty())
        return std::nullopt;
    return DrawnCount(outline, most).of(0);
}

} // namespace zelvo::svg
