#pragma once

#include <QString>

namespace zelvo {

// Lets assistive technologies see the program's own controls as what they do: pictures and
// labels that run a command as buttons and links they can press, the windows as windows.
// Installing more than once changes nothing.
void installAccessibleInterfaces();

// An accessible name followed by what the control shows now, as "Preview: sunset.bmp".
[[nodiscard]] QString accessibleNameWith(const QString& name, const QString& subject);

} // namespace zelvo
