#pragma once

#include <QObject>

#include <functional>

namespace zelvo {

// Runs show once a tray icon made then can be shown: at once, or when the desktop's
// StatusNotifierItem host or X11 notification area starts, on desktops that have neither yet.
// Nothing runs after context is gone.
//
// Platform-specific: Qt settles, when the program makes its first tray icon, whether tray icons
// go to a StatusNotifierItem host over D-Bus or to an X11 notification area, and keeps to it. An
// X11 notification area started later picks an icon up; a host started later never would.
void whenNotificationAreaCanShow(QObject* context, std::function<void()> show);

} // namespace zelvo
