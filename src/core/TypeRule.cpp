#include "TypeRule.h"

namespace zelvo {

std::optional<int> boxValueFor(const PictureType& type, QStringView stored)
{
    if (stored == QLatin1String(type.pattern))
        return 1;
    if (stored == QLatin1String(settings::Disabled))
        return 0;
    return std::nullopt;
}

bool noTypeRecognised(std::span<const QString, PictureTypes.size()> stored)
{
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (boxValueFor(PictureTypes[i], stored[i]))
            return false;
    }
    return true;
}

std::optional<QString> storedValueFor(const PictureType& type, int boxValue)
{
    if (boxValue == 1)
        return QLatin1String(type.pattern);
    if (boxValue == 0)
        return QLatin1String(settings::Disabled);
    return std::nullopt;
}

} // namespace zelvo
