#include "SvgDocument.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelvo {

namespace {

// How many pieces of markup are read between two looks at whether to stop.
constexpr int TokensBetweenLooks = 256;
// How long a chain of <use> elements, each referring to the next, may be.
constexpr int MaxUseChain = 256;

// A length in pixels: a number with an absolute unit or none; nothing for a relative length.
[[nodiscard]] std::optional<double> pixelLength(QStringView text)
{
    text = text.trimmed();
    struct Unit
    {
        const char16_t* name;
        double pixels;
    };
    constexpr Unit Units[] = {{u"px", 1.0},         {u"pt", 96.0 / 72},   {u"pc", 16.0},
                              {u"mm", 96.0 / 25.4}, {u"cm", 96.0 / 2.54}, {u"in", 96.0}};
    double scale = 1.0;
    for (const Unit& unit : Units) {
        if (text.endsWith(QStringView(unit.name))) {
            text.chop(2);
            scale = unit.pixels;
            break;
        }
    }
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number * scale;
}

[[nodiscard]] QRectF viewBoxOf(QStringView text)
{
    QList<double> numbers;
    for (const QStringView part :
         text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        numbers.append(part.toDouble(&ok));
        if (!ok || !std::isfinite(numbers.back()))
            return {};
    }
    if (numbers.size() != 4 || numbers[2] <= 0 || numbers[3] <= 0)
        return {};
    return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

// The root's declared size: width and height, the one missing taken from the view box's shape,
// or the view box's own.
[[nodiscard]] QSizeF declaredSize(const QXmlStreamAttributes& attributes, const QRectF& viewBox)
{
    const std::optional<double> width = attributes.hasAttribute(QStringLiteral("width"))
                                            ? pixelLength(attributes.value(QStringLiteral("width")))
                                            : std::nullopt;
    const std::optional<double> height =
        attributes.hasAttribute(QStringLiteral("height"))
            ? pixelLength(attributes.value(QStringLiteral("height")))
            : std::nullopt;
    if (width && height)
        return {*width, *height};
    if (viewBox.isEmpty())
        return {};
    if (width)
        return {*width, *width * viewBox.height() / viewBox.width()};
    if (height)
        return {*height * viewBox.width() / viewBox.height(), *height};
    return viewBox.size();
}

// A reference the document may keep: to one of its own elements, or data within it.
[[nodiscard]] bool inDocument(QStringView reference)
{
    reference = reference.trimmed();
    return reference.startsWith(u'#') || reference.startsWith(u"data:", Qt::CaseInsensitive);
}

// The elements as a tree, to count what the <use> elements among them draw.
struct Node
{
    int parent;
    QString useTarget;
};

class DrawnCount
{
public:
    DrawnCount(const std::vector<Node>& nodes, const QHash<QString, int>& ids)
        : m_nodes(nodes), m_ids(ids), m_children(nodes.size()), m_drawn(nodes.size(), -1)
    {
        for (std::size_t i = 1; i < nodes.size(); ++i)
            m_children[std::size_t(nodes[i].parent)].push_back(int(i));
    }

    // The elements drawn for the node and all within it; nothing for a loop of references.
    [[nodiscard]] std::optional<qint64> of(int node, int chain = 0)
    {
        qint64& drawn = m_drawn[std::size_t(node)];
        if (drawn == InProgress || chain > MaxUseChain)
            return std::nullopt;
        if (drawn >= 0)
            return drawn;
        drawn = InProgress;
        qint64 total = 1;
        for (const int child : m_children[std::size_t(node)]) {
            const std::optional<qint64> each = of(child, chain);
            if (!each)
                return std::nullopt;
            total = std::min(total + *each, MaxSvgDrawnElements + 1);
        }
        if (const QString& target = m_nodes[std::size_t(node)].useTarget; !target.isEmpty()) {
            if (const auto found = m_ids.constFind(target); found != m_ids.cend()) {
                const std::optional<qint64> used = of(*found, chain + 1);
                if (!used)
                    return std::nullopt;
                total = std::min(total + *used, MaxSvgDrawnElements + 1);
            }
        }
        drawn = total;
        return drawn;
    }

private:
    static constexpr qint64 InProgress = -2;
    const std::vector<Node>& m_nodes;
    const QHash<QString, int>& m_ids;
    std::vector<std::vector<int>> m_children;
    std::vector<qint64> m_drawn;
};

} // namespace

bool looksLikeSvg(QByteArrayView head)
{
    const QByteArrayView start = head.first(std::min<qsizetype>(head.size(), 4096));
    const qsizetype open = start.indexOf('<');
    return open >= 0 && start.first(open).trimmed().size() <= 3 &&
           start.indexOf(QByteArrayView("<svg")) >= 0;
}

std::optional<SvgDocument> readSvgDocument(QByteArrayView bytes, const LoadGuard& guard)
{
    if (bytes.size() > MaxSvgFileBytes)
        return std::nullopt;
    QXmlStreamReader reader(QByteArray::fromRawData(bytes.data(), bytes.size()));
    SvgDocument document;
    QXmlStreamWriter writer(&document.cleaned);
    std::vector<Node> nodes;
    std::vector<int> open;
    QHash<QString, int> ids;
    // The depth of an element left out with all within it; 0 while none is.
    int leftOutAt = 0;
    for (int tokens = 0; !reader.atEnd(); ++tokens) {
        if (tokens % TokensBetweenLooks == 0 && guard.stopped())
            return std::nullopt;
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (open.size() >= std::size_t(MaxSvgDepth) ||
                qint64(nodes.size()) >= MaxSvgDrawnElements ||
                (nodes.empty() && reader.name() != u"svg"))
                return std::nullopt;
            const QXmlStreamAttributes attributes = reader.attributes();
            const bool outsideImage =
                reader.name() == u"image" &&
                std::any_of(attributes.begin(), attributes.end(), [](const auto& attribute) {
                    return attribute.name() == u"href" && !inDocument(attribute.value());
                });
            if (leftOutAt == 0 && outsideImage)
                leftOutAt = int(open.size()) + 1;
            const int index = int(nodes.size());
            nodes.push_back({open.empty() ? -1 : open.back(), {}});
            open.push_back(index);
            if (index == 0) {
                document.viewBox = viewBoxOf(attributes.value(QStringLiteral("viewBox")));
                document.size = declaredSize(attributes, document.viewBox);
            }
            if (const QStringView id = attributes.value(QStringLiteral("id")); !id.isEmpty())
                ids.insert(id.toString(), index);
            if (leftOutAt != 0)
                break;
            writer.writeStartElement(reader.qualifiedName().toString());
            for (const QXmlStreamNamespaceDeclaration& space : reader.namespaceDeclarations()) {
                writer.writeAttribute(space.prefix().isEmpty()
                                          ? QStringLiteral("xmlns")
                                          : QStringLiteral("xmlns:") + space.prefix().toString(),
                                      space.namespaceUri().toString());
            }
            for (const QXmlStreamAttribute& attribute : attributes) {
                if (attribute.name() == u"href") {
                    if (!inDocument(attribute.value()))
                        continue;
                    if (reader.name() == u"use" && attribute.value().startsWith(u'#'))
                        nodes.back().useTarget = attribute.value().mid(1).toString();
                }
                writer.writeAttribute(attribute.qualifiedName().toString(),
                                      attribute.value().toString());
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            if (leftOutAt == 0)
                writer.writeEndElement();
            if (leftOutAt == int(open.size()))
                leftOutAt = 0;
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (leftOutAt == 0 && !open.empty())
                writer.writeCharacters(reader.text().toString());
            break;
        default:
            // The document type, entity references, comments and processing instructions.
            break;
        }
    }
    if (reader.hasError() || nodes.empty())
        return std::nullopt;
    const std::optional<qint64> drawn = DrawnCount(nodes, ids).of(0);
    if (!drawn || *drawn > MaxSvgDrawnElements)
        return std::nullopt;
    document.drawnElements = *drawn;
    return document;
}

} // namespace zelvo
