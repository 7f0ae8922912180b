#pragma once

#include "settings/SizeRule.h"
#include "ui/Layout.h"

namespace zelvo {

// A tile-window size: the window's outer size, frame and title bar included, and the place
// of the Print button in the client area.
struct TileSize
{
    layout::Twips width;
    layout::Twips height;
    layout::Twips buttonLeft;
    layout::Twips buttonTop;
};

[[nodiscard]] constexpr TileSize tileSize(SizeChoice choice)
{
    switch (choice) {
    case SizeChoice::Small:
        return {9500, 6300, 4390, 5500};
    case SizeChoice::Medium:
        break;
    case SizeChoice::Large:
        return {15000, 10500, 7140, 9300};
    }
    return {12000, 8000, 5640, 7200};
}

} // namespace zelvo
