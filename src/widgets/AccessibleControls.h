#pragma once

#include <QString>

namespace zelvo {

// Lets assistive technologies see the program's windows as windows and its link as a link they
// can press. Installing more than once changes nothing.
void installAccessibleInterfaces();

// An accessible name followed by what the control shows now, as "Preview: sunset.bmp".
[[nodiscard]] QString accessibleNameWith(const QString& name, const QString& subject);

} // namespace zelvo
