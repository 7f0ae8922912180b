#pragma once

#include <algorithm>
#include <array>

namespace zelvo {

// The zoom levels of the tile window, in percent: below 100 the picture is smoothed down, above
// it each picture pixel becomes a square of device pixels.
inline constexpr std::array<int, 7> ZoomLevels{25, 50, 100, 200, 300, 400, 800};
inline constexpr int NaturalZoom = 100;

// The next level up or down from the given one, which stays at either end; a level that is not
// one of the steps goes to the nearest step in that direction.
[[nodiscard]] constexpr int zoomIn(int level)
{
    const auto step = std::find_if(ZoomLevels.begin(), ZoomLevels.end(),
                                   [level](int candidate) { return candidate > level; });
    return step != ZoomLevels.end() ? *step : ZoomLevels.back();
}

[[nodiscard]] constexpr int zoomOut(int level)
{
    const auto step = std::find_if(ZoomLevels.rbegin(), ZoomLevels.rend(),
                                   [level](int candidate) { return candidate < level; });
    return step != ZoomLevels.rend() ? *step : ZoomLevels.front();
}

// The length in device pixels of a picture length at a level: an exact multiple when enlarged,
// never less than one pixel when reduced.
[[nodiscard]] constexpr int zoomedLength(int length, int level)
{
    if (level >= NaturalZoom)
        return length * (level / NaturalZoom);
    const int reduced = (length * level + NaturalZoom / 2) / NaturalZoom;
    return reduced < 1 ? 1 : reduced;
}

} // namespace zelvo
