#include "TypeRule.h"

namespace zelvo {

std::optional<int> boxValueFor(const settings::type::TypeKey& type, QStringView stored)
{
    if (stored == QLatin1String(type.pattern))
        return 1;
    if (stored == QLatin1String(settings::type::Disabled))
        return 0;
    return std::nullopt;
}

bool noTypeRecognised(const std::array<QString, 4>& stored)
{
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (boxValueFor(settings::type::Keys[i], stored[i]))
            return false;
    }
    return true;
}

std::optional<QString> storedValueFor(const settings::type::TypeKey& type, int boxValue)
{
    if (boxValue == 1)
        return QLatin1String(type.pattern);
    if (boxValue == 0)
        return QLatin1String(settings::type::Disabled);
    return std::nullopt;
}

} // namespace zelvo
