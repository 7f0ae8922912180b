#pragma once

#include <QImage>
#include <QString>

namespace zelvo {

// Whether the copies of a tiled picture meet with a visible step, across each seam.
struct SeamVerdict
{
    bool leftRight = false; // where a copy's right edge meets the next copy's left edge
    bool topBottom = false; // where a copy's bottom edge meets the next copy's top edge

    friend bool operator==(const SeamVerdict&, const SeamVerdict&) = default;
};

// A seam shows when the colour step across it stands out from the picture's own steps between
// neighbouring pixels in the same direction.
[[nodiscard]] SeamVerdict checkSeams(const QImage& picture);

// "Seams: left-right visible, top-bottom invisible" and the like.
[[nodiscard]] QString seamDescription(const SeamVerdict& verdict);

} // namespace zelvo
