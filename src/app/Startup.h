#pragma once

namespace zelvo {

// Before the application object exists: false, with one line on stderr, when there is no
// display to show windows on.
[[nodiscard]] bool displayReachable();

// Names and version of the program, and the main window hiding in the tray without ending it.
void configureApplication();

} // namespace zelvo
