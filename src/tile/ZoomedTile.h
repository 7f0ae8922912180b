#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

namespace zelvo {

// How the tile window draws its copies beyond the picture's natural size.
struct TileLook
{
    int zoom = 100; // percent, one of the zoom levels
    bool guides = false;
    // Bold marks along the edges where the picture shows a step.
    bool markLeftRight = false;
    bool markTopBottom = false;

    friend bool operator==(const TileLook&, const TileLook&) = default;
};

// The tile that covers an area of device pixels when repeated from its top-left corner: the
// picture at the zoom, as much of it as the area shows, with the guides and marks drawn along
// the copies' right and bottom edges, over the ground colour.
[[nodiscard]] QImage zoomedTile(const QImage& picture, const TileLook& look, QSize area,
                                const QColor& ground, int minimumSide);

} // namespace zelvo
