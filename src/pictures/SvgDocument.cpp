#include "SvgDocument.h"

#include "SvgScan.h"

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
[[nodiscard]] QSizeF declaredSize(const svg::Outline& outline, const QRectF& viewBox)
{
    const std::optional<double> width = pixelLength(outline.width);
    const std::optional<double> height = pixelLength(outline.height);
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

// Reads the markup through and writes it out again without what Qt SVG must not see.
[[nodiscard]] bool writeAgain(QByteArrayView bytes, svg::Outline& outline, QByteArray& cleaned,
                              const LoadGuard& guard)
{
    QXmlStreamReader reader(QByteArray::fromRawData(bytes.data(), bytes.size()));
    QXmlStreamWriter writer(&cleaned);
    std::vector<int> open;
    // The depth of an element left out with all within it; 0 while none is.
    int leftOutAt = 0;
    for (int tokens = 0; !reader.atEnd(); ++tokens) {
        if (tokens % TokensBetweenLooks == 0 && guard.stopped())
            return false;
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (open.size() >= std::size_t(MaxSvgDepth) ||
                qint64(outline.nodes.size()) >= MaxSvgDrawnElements ||
                (outline.nodes.empty() && reader.name() != u"svg"))
                return false;
            const QXmlStreamAttributes attributes = reader.attributes();
            // An <image> of another file, or of a picture held here that is too large.
            const bool outsideImage =
                reader.name() == u"image" &&
                std::any_of(
                    attributes.begin(), attributes.end(), [&outline](const auto& attribute) {
                        return attribute.name() == u"href" &&
                               (!svg::inDocument(attribute.value()) ||
                                (!attribute.value().trimmed().startsWith(u'#') &&
                                 !svg::embeddedPictureFits(attribute.value().toUtf8(), outline)));
                    });
            if (leftOutAt == 0 && outsideImage)
                leftOutAt = int(open.size()) + 1;
            const int index = int(outline.nodes.size());
            outline.nodes.push_back({open.empty() ? -1 : open.back(), {}});
            open.push_back(index);
            if (index == 0) {
                outline.width = attributes.value(QStringLiteral("width")).toString();
                outline.height = attributes.value(QStringLiteral("height")).toString();
                outline.viewBox = attributes.value(QStringLiteral("viewBox")).toString();
            }
            if (const QStringView id = attributes.value(QStringLiteral("id")); !id.isEmpty())
                outline.ids.insert(id.toString(), index);
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
                    if (!svg::inDocument(attribute.value()))
                        continue;
                    if (reader.name() == u"use" && attribute.value().startsWith(u'#'))
                        outline.nodes.back().useTarget = attribute.value().mid(1).toString();
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
    return !reader.hasError();
}

} // namespace

bool looksLikeSvg(QByteArrayView head)
{
    const QByteArrayView start = head.first(std::min<qsizetype>(head.size(), 4096));
    const qsizetype open = start.indexOf('<');
    return open >= 0 && start.first(open).trimmed().size() <= 3 &&
           start.indexOf(QByteArrayView("<svg")) >= 0;
}

std::optional<SvgDocument> readSvgDocument(QByteArray bytes, const LoadGuard& guard)
{
    if (bytes.size() > MaxSvgFileBytes)
        return std::nullopt;
    SvgDocument document;
    svg::Outline outline;
    switch (svg::scanPlainMarkup(bytes, outline, guard)) {
    case svg::Scan::Refused:
        return std::nullopt;
    case svg::Scan::AsItIs:
        document.cleaned = std::move(bytes);
        break;
    case svg::Scan::WriteAgain:
        outline = {};
        if (!writeAgain(bytes, outline, document.cleaned, guard))
            return std::nullopt;
        break;
    }
    document.viewBox = viewBoxOf(outline.viewBox);
    document.size = declaredSize(outline, document.viewBox);
    const std::optional<qint64> drawn = svg::drawnElements(outline, MaxSvgDrawnElements);
    if (!drawn || *drawn > MaxSvgDrawnElements)
        return std::nullopt;
    document.drawnElements = *drawn;
    return document;
}

} // namespace zelvo
