#include "SizeRule.h"

#include "SettingKeys.h"

#include <QString>

namespace zelvo {

std::optional<SizeChoice> chooseSize(QStringView small, QStringView mid, QStringView big)
{
    const auto on = [](QStringView value) { return value == QLatin1String(settings::size::On); };
    const auto off = [](QStringView value) { return value == QLatin1String(settings::size::Off); };
    std::optional<SizeChoice> chosen;
    if (!on(small) && !off(small) && !on(mid) && !off(mid) && !on(big) && !off(big))
        chosen = SizeChoice::Medium;
    if (on(small))
        chosen = SizeChoice::Small;
    if (on(mid))
        chosen = SizeChoice::Medium;
    if (on(big))
        chosen = SizeChoice::Large;
    return chosen;
}

} // namespace zelvo
