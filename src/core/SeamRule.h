#pragma once

#include "RepeatRule.h"

#include <QImage>
#include <QString>

namespace zelvo {

// Whether the copies of a tiled picture meet with a visible step, across each seam.
struct SeamVerdict
{
    bool leftRight = false; // where a copy's right edge meets what lies right of it
    bool topBottom = false; // where a copy's bottom edge meets what lies below it

    friend bool operator==(const SeamVerdict&, const SeamVerdict&) = default;
};

// A seam shows when the colour step across it stands out from the picture's own steps between
// neighbouring pixels in the same direction. The edges compared are the ones that meet in the
// repeat system: in a half-drop a copy's right edge meets the next column's copies half a copy
// lower, in a mirror repeat each edge meets its own mirror image.
[[nodiscard]] SeamVerdict checkSeams(const QImage& picture, Repeat repeat = Repeat::SideBySide);

// "Seams: left-right visible, top-bottom invisible" and the like.
[[nodiscard]] QString seamDescription(const SeamVerdict& verdict);

} // namespace zelvo
