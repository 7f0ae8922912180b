#pragma once

#include <QString>

namespace zelvo {

// The desktops whose background is asked of a program of theirs rather than written into
// GSettings. Each sets the PNG file tiled on every screen and workspace, and returns why it
// could not, in words, or nothing once the desktop has taken it. Each wait is bounded.

// KDE Plasma's shell, over the session bus.
[[nodiscard]] QString askPlasmaShell(const QString& pngPath);
// Xfce's settings service xfconf, over the session bus: every backdrop the desktop keeps.
[[nodiscard]] QString askXfconf(const QString& pngPath);
// LXQt's desktop, pcmanfm-qt, run with the file.
[[nodiscard]] QString askPcmanfmQt(const QString& pngPath);

} // namespace zelvo
