#pragma once

#include <functional>

class QWidget;

namespace zelvo {

// Shows a window modal over its parent window and returns when it is hidden or destroyed.
// Window-modal rather than application-modal, so the tray icon still reaches the program.
// activated runs once the window is shown, before waiting; it may close the window again.
void showModal(QWidget& window, const std::function<void()>& activated = {});

} // namespace zelvo
