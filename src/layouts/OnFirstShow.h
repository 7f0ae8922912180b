#pragma once

#include <QWidget>

#include <functional>

namespace zelvo {

// Runs the action when the widget is first shown, or at once when it shows already: work that
// only the visible window needs (measuring captions, decoding pictures) waits for windows that
// are created hidden until they are opened, and never happens for those that never are.
void onFirstShow(QWidget& widget, std::function<void()> action);

// Runs the action once the window's first picture is on screen: queued from its first paint
// event, it runs after the painting and the flush to the display are done.
void afterFirstPaint(QWidget& window, std::function<void()> action);

} // namespace zelvo
