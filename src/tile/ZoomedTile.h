#pragma once

#include "core/RepeatRule.h"

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
    Repeat repeat = Repeat::SideBySide;

    friend bool operator==(const TileLook&, const TileLook&) = default;
};

// The tile that covers an area of device pixels when repeated from its top-left corner: the
// copies of the picture at the zoom laid in the look's repeat system, as much of the picture as
// the area shows, with the guides and marks drawn along the copies' right and bottom edges.
// Transparent where the picture is, for the ground to show through. A picture drawn again at the
// zoom (an SVG's), at least as large as zoomedPartSize says, is laid as it is in place of the
// picture enlarged or reduced.
[[nodiscard]] QImage zoomedTile(const QImage& picture, const TileLook& look, QSize area,
                                int minimumSide, const QImage& drawnAtZoom = {});

// The part of one copy at the look's zoom that the tile shows, in device pixels, from the copy's
// top-left corner.
[[nodiscard]] QSize zoomedPartSize(QSize picture, const TileLook& look, QSize area);

} // namespace zelvo
