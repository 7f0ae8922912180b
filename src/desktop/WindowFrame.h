#pragma once

class QWidget;

namespace zelvo {

// Keeps a window with a title bar and no minimise, maximise or close button: the window manager
// is asked for none, and a window it minimises all the same comes back at once, since the
// program offers no way back to a minimised window and would be left blocked or out of sight.
void keepTitleBarWithoutButtons(QWidget& window);

} // namespace zelvo
