#include "SessionBackgrounds.h"

namespace zelvo {

BackgroundSetting setSessionBackground(const QString&, const QString&)
{
    return {};
}

} // namespace zelvo
