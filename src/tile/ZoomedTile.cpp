#include "ZoomedTile.h"

#include "core/ZoomRule.h"

#include <QList>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <array>

namespace zelvo {

namespace {

// Thin guides: one pixel, black and white dashes of 4. Seam marks: three pixels, long magenta
// dashes with short black gaps, so that the two tell apart without their colours.
constexpr int GuideDash = 4;
constexpr int MarkWidth = 3;
constexpr int MarkDash = 9;
constexpr int MarkGap = 3;
const QRgb GuideColours[2] = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
const QRgb MarkColour = qRgb(255, 0, 170);
const QRgb MarkGapColour = qRgb(0, 0, 0);

QRgb guideAt(int along)
{
    return GuideColours[(along / GuideDash) % 2];
}

QRgb markAt(int along)
{
    return along % (MarkDash + MarkGap) < MarkDash ? MarkColour : MarkGapColour;
}

// Draws a line of the given thickness inside the right edge (right) and inside the bottom edge
// (bottom) of a copy, as far as it lies in the tile, each pixel in the colour for its place
// along the tile.
void drawAlongEdges(QImage& tile, const QRect& copy, bool right, bool bottom, int thickness,
                    QRgb (*colourAt)(int))
{
    const QRect shown = copy & tile.rect();
    if (shown.isEmpty())
        return;
    if (right) {
        const int from = std::max(copy.right() + 1 - std::min(thickness, copy.width()), 0);
        for (int y = shown.top(); y <= shown.bottom(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
            for (int x = from; x <= copy.right() && x < tile.width(); ++x)
                line[x] = colourAt(y);
        }
    }
    if (bottom) {
        const int from = std::max(copy.bottom() + 1 - std::min(thickness, copy.height()), 0);
        for (int y = from; y <= copy.bottom() && y < tile.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
            for (int x = shown.left(); x <= shown.right(); ++x)
                line[x] = colourAt(x);
        }
    }
}

// The part of the picture the area shows: the whole of it, except that a picture larger than
// the area is cut to what the area shows, but across where brick rows shift it and down where
// half-drop columns do.
struct ShownPart
{
    QSize size;
    // One copy fits within the area that way.
    bool wholeAcross;
    bool wholeDown;
};

ShownPart shownPart(QSize picture, const TileLook& look, QSize area)
{
    const int zoom = std::clamp(look.zoom, ZoomLevels.front(), ZoomLevels.back());
    const auto shownLength = [zoom](int areaLength) {
        return (areaLength * NaturalZoom + zoom - 1) / zoom;
    };
    const bool wholeAcross = picture.width() <= shownLength(area.width());
    const bool wholeDown = picture.height() <= shownLength(area.height());
    const bool cutAcross = !wholeAcross && !(look.repeat == Repeat::Brick && wholeDown);
    const bool cutDown = !wholeDown && !(look.repeat == Repeat::HalfDrop && wholeAcross);
    return {{cutAcross ? std::min(picture.width(), shownLength(area.width())) : picture.width(),
             cutDown ? std::min(picture.height(), shownLength(area.height())) : picture.height()},
            wholeAcross,
            wholeDown};
}

} // namespace

QSize zoomedPartSize(QSize picture, const TileLook& look, QSize area)
{
    const int zoom = std::clamp(look.zoom, ZoomLevels.front(), ZoomLevels.back());
    const QSize shown = shownPart(picture, look, area).size;
    return {zoomedLength(shown.width(), zoom), zoomedLength(shown.height(), zoom)};
}

QImage zoomedTile(const QImage& picture, const TileLook& look, QSize area, int minimumSide,
                  const QImage& drawnAtZoom)
{
    if (picture.isNull() || area.isEmpty())
        return {};
    const int zoom = std::clamp(look.zoom, ZoomLevels.front(), ZoomLevels.back());
    const auto [shownSize, wholeAcross, wholeDown] = shownPart(picture.size(), look, area);
    const QSize copy(zoomedLength(picture.width(), zoom), zoomedLength(picture.height(), zoom));
    const QSize scaledSize = zoomedPartSize(picture.size(), look, area);
    const auto scale = [&, shownSize = shownSize] {
        if (zoom != NaturalZoom && drawnAtZoom.width() >= scaledSize.width() &&
            drawnAtZoom.height() >= scaledSize.height())
            return drawnAtZoom.size() == scaledSize
                       ? drawnAtZoom
                       : drawnAtZoom.copy(QRect(QPoint(0, 0), scaledSize));
        const QImage shown =
            shownSize == picture.size() ? picture : picture.copy(QRect(QPoint(0, 0), shownSize));
        if (zoom == NaturalZoom)
            return shown;
        return shown.scaled(scaledSize, Qt::IgnoreAspectRatio,
                            zoom > NaturalZoom ? Qt::FastTransformation : Qt::SmoothTransformation);
    };
    QImage scaled = scale();
    // Drawn as it is, without blending, where it has no transparent parts.
    const bool opaque = !scaled.hasAlphaChannel();
    scaled =
        scaled.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);

    // Whole periods of the arrangement where it repeats; as far as the picture reaches where
    // one copy covers the area.
    const QSize period(copy.width() * repeatPeriod(look.repeat).width(),
                       copy.height() * repeatPeriod(look.repeat).height());
    const auto tileLength = [minimumSide](bool whole, int periodLength, int scaledLength) {
        return whole ? periodLength * ((minimumSide + periodLength - 1) / periodLength)
                     : scaledLength;
    };
    QImage tile(tileLength(wholeAcross, period.width(), scaledSize.width()),
                tileLength(wholeDown, period.height(), scaledSize.height()), scaled.format());
    tile.fill(Qt::transparent);

    // The picture as drawn, then mirrored across, down and both ways as copies ask for them.
    std::array<QImage, 4> turned{scaled};
    const auto turnedFor = [&turned](const CopyPlace& place) -> const QImage& {
        QImage& image = turned[std::size_t(place.mirroredAcross) + 2 * place.mirroredDown];
        if (image.isNull())
            image = turned[0].mirrored(place.mirroredAcross, place.mirroredDown);
        return image;
    };
    QList<QRect> copies;
    const int columns = tile.width() / copy.width() + 1;
    const int rows = tile.height() / copy.height() + 1;
    {
        QPainter painter(&tile);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (int column = -1; column <= columns; ++column) {
            for (int row = -1; row <= rows; ++row) {
                const CopyPlace place = copyPlace(look.repeat, copy, column, row);
                const QRect rect(place.topLeft, copy);
                if (!rect.intersects(tile.rect()))
                    continue;
                copies.append(rect);
                painter.drawImage(place.topLeft, turnedFor(place));
            }
        }
    }
    for (const QRect& rect : std::as_const(copies)) {
        if (look.guides)
            drawAlongEdges(tile, rect, true, true, 1, guideAt);
        drawAlongEdges(tile, rect, look.markLeftRight, look.markTopBottom, MarkWidth, markAt);
    }
    return tile;
}

} // namespace zelvo
