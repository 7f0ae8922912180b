#pragma once

namespace zelvo {

// Before the application object exists: false, with one line on stderr, when there is no
// display to show windows on.
[[nodiscard]] bool displayReachable();

// Around the construction of the application object: the platform plugin's messages are kept
// off stderr, and when it cannot open the display the program ends with one line on stderr and
// status 1 instead of the plugin's abort.
void beginPlatformStart();
void endPlatformStart();

// Before the application object exists: where no session bus runs, keeps the tray icon's
// look-up of the desktop's notification service from starting a bus of its own.
void avoidSessionBusAutolaunch();

// Names and version of the program, and the main window hiding in the tray without ending it.
void configureApplication();

} // namespace zelvo
