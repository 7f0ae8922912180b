#pragma once

#include "SettingKeys.h"

#include <QString>

#include <algorithm>
#include <array>
#include <span>

namespace zelvo {

// One tile-window size: the flag that chooses it, the options window's button for it, the
// window's outer size (frame and title bar included) and the Print button's place in the
// client area, in twips. The default size is the one taken while no flag is stored yet.
struct TileSize
{
    settings::Key key;
    const char* optionName;
    int width;
    int height;
    int buttonLeft;
    int buttonTop;
    bool isDefault = false;
};

inline constexpr std::array<TileSize, 3> TileSizes{{
    {{"Size", "Small"}, "Option1", 9500, 6300, 4390, 5500},
    {{"Size", "Mid"}, "Option2", 12000, 8000, 5640, 7200, true},
    {{"Size", "Big"}, "Option3", 15000, 10500, 7140, 9300},
}};

// The size taken while no flag is stored yet.
[[nodiscard]] constexpr const TileSize& defaultTileSize()
{
    const auto size = std::find_if(TileSizes.begin(), TileSizes.end(),
                                   [](const TileSize& candidate) { return candidate.isDefault; });
    return size != TileSizes.end() ? *size : TileSizes.front();
}

// True when none of the stored flags (one per size, in table order) holds "1" or "0", as before
// anything is stored.
[[nodiscard]] bool noSizeFlag(std::span<const QString, TileSizes.size()> flags);

// The size the stored flags choose: the default when there is no flag yet; otherwise the last
// one holding "1"; nothing when none does, and the window keeps the size of its layout.
// Values are compared exactly.
[[nodiscard]] const TileSize* chooseSize(std::span<const QString, TileSizes.size()> flags);

} // namespace zelvo
