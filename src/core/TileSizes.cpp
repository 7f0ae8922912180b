#include "TileSizes.h"

#include <algorithm>

namespace zelvo {

bool noSizeFlag(std::span<const QString, TileSizes.size()> flags)
{
    return std::none_of(flags.begin(), flags.end(), [](const QString& flag) {
        return flag == QLatin1String(settings::On) || flag == QLatin1String(settings::Off);
    });
}

const TileSize* chooseSize(std::span<const QString, TileSizes.size()> flags)
{
    const TileSize* chosen = noSizeFlag(flags) ? &defaultTileSize() : nullptr;
    for (std::size_t i = 0; i < TileSizes.size(); ++i) {
        if (flags[i] == QLatin1String(settings::On))
            chosen = &TileSizes[i];
    }
    return chosen;
}

} // namespace zelvo
