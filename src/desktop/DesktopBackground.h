#pragma once

#include "core/RepeatTile.h"
#include "pictures/LoadControl.h"

#include <QString>

namespace zelvo {

// The user's folder of desktop backgrounds: $XDG_DATA_HOME/backgrounds, where XDG_DATA_HOME
// is ~/.local/share unless set.
[[nodiscard]] QString backgroundsFolder();

// How setting a desktop background went, in words for a message.
struct BackgroundReport
{
    bool set = false;
    QString message;
};

// Writes the repeat of the picture, flattened on its ground, as a new PNG in the backgrounds
// folder, and sets it tiled on the desktop that runs: through the desktop's own settings service
// where it has one, as the root window's background on any other X11 session. On a Wayland
// desktop without such a service the file stays for the user to set. A failure leaves no file
// behind and the background as it was.
[[nodiscard]] BackgroundReport setAsDesktopBackground(const QString& picturePath, RepeatOrder order,
                                                      const LoadControl& control = {});

} // namespace zelvo
