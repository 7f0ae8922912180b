#pragma once

#include <QString>

namespace zelvo {

// How asking a desktop's own settings service for a tiled background went.
enum class BackgroundOutcome {
    Set,
    // The running desktop has no settings service this knows of: another way must be tried.
    NotThisDesktop,
    Failed,
};

struct BackgroundSetting
{
    BackgroundOutcome outcome = BackgroundOutcome::NotThisDesktop;
    // The desktop's name as people know it ("GNOME", "KDE Plasma", "Xfce" ...), when known.
    QString desktopName;
    // Why it failed, in words for a message box.
    QString why;
};

// Sets the PNG file as the tiled background of the desktop named by currentDesktop (the value
// of XDG_CURRENT_DESKTOP) through that desktop's own settings service. It waits for the desktop's
// answer, some seconds at most: call it beside the window's thread.
[[nodiscard]] BackgroundSetting setSessionBackground(const QString& pngPath,
                                                     const QString& currentDesktop);

} // namespace zelvo
