#pragma once

#include <QImage>
#include <QString>

namespace zelvo {

// Platform-specific (X11): sets the picture as the background of the X display's root window,
// tiled by the X server, as root-window setters do: the pixmap stays after the program ends
// (close-down mode RetainPermanent), _XROOTPMAP_ID and ESETROOT_PMAP_ID name it for panels with
// pseudo-transparency, and the pixmap the previous setter left is freed. The display is the one
// DISPLAY names, reached over a connection of its own. Empty, or why not in words; nothing on the
// display changes when it fails.
[[nodiscard]] QString setRootWindowBackground(const QImage& picture);

} // namespace zelvo
