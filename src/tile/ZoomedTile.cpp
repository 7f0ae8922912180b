#include "ZoomedTile.h"

#include "core/ZoomRule.h"

#include <QPainter>

#include <algorithm>

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

// Draws a line of the given thickness inside the right edge of every copy (columns) and inside
// its bottom edge (rows), each pixel in the colour for its place along the line.
void drawAlongEdges(QImage& tile, QSize copy, bool columns, bool rows, int thickness,
                    QRgb (*colourAt)(int))
{
    if (columns) {
        const int width = std::min(thickness, copy.width());
        for (int edge = copy.width(); edge <= tile.width(); edge += copy.width()) {
            for (int y = 0; y < tile.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
                for (int x = edge - width; x < edge; ++x)
                    line[x] = colourAt(y);
            }
        }
    }
    if (rows) {
        const int height = std::min(thickness, copy.height());
        for (int edge = copy.height(); edge <= tile.height(); edge += copy.height()) {
            for (int y = edge - height; y < edge; ++y) {
                auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
                for (int x = 0; x < tile.width(); ++x)
                    line[x] = colourAt(x);
            }
        }
    }
}

} // namespace

QImage zoomedTile(const QImage& picture, const TileLook& look, QSize area, const QColor& ground,
                  int minimumSide)
{
    if (picture.isNull() || area.isEmpty())
        return {};
    const int zoom = std::clamp(look.zoom, ZoomLevels.front(), ZoomLevels.back());
    // Only the part of a picture larger than the area that the area shows is scaled.
    const auto shownLength = [zoom](int areaLength) {
        return (areaLength * NaturalZoom + zoom - 1) / zoom;
    };
    const bool wholeAcross = picture.width() <= shownLength(area.width());
    const bool wholeDown = picture.height() <= shownLength(area.height());
    const QImage shown =
        wholeAcross && wholeDown
            ? picture
            : picture.copy(0, 0, std::min(picture.width(), shownLength(area.width())),
                           std::min(picture.height(), shownLength(area.height())));
    const QSize copy(zoomedLength(shown.width(), zoom), zoomedLength(shown.height(), zoom));
    const QImage scaled =
        zoom == NaturalZoom
            ? shown
            : shown.scaled(copy, Qt::IgnoreAspectRatio,
                           zoom > NaturalZoom ? Qt::FastTransformation : Qt::SmoothTransformation);

    const int across = wholeAcross ? (minimumSide + copy.width() - 1) / copy.width() : 1;
    const int down = wholeDown ? (minimumSide + copy.height() - 1) / copy.height() : 1;
    QImage tile(copy.width() * across, copy.height() * down, QImage::Format_RGB32);
    tile.fill(ground);
    {
        QPainter painter(&tile);
        for (int y = 0; y < down; ++y) {
            for (int x = 0; x < across; ++x)
                painter.drawImage(x * copy.width(), y * copy.height(), scaled);
        }
    }
    if (look.guides)
        drawAlongEdges(tile, copy, wholeAcross, wholeDown, 1, guideAt);
    drawAlongEdges(tile, copy, look.markLeftRight && wholeAcross, look.markTopBottom && wholeDown,
                   MarkWidth, markAt);
    return tile;
}

} // namespace zelvo
