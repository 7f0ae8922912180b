#pragma once

#include "Layout.h"

class QPainter;
class QWidget;

// Applies declared layouts to widgets; behaviour stays with the windows.
namespace zelvo::layout {

// Caption, frame, fixed client size, ground colour, font, icon; centred on its screen. A window
// with a parent is a dialog of it, kept above it.
void applyWindow(QWidget& window, const Window& form);
// Name, place, font, colours, tool tip, accessible name and description of one control; a
// control off the keyboard's way takes no focus.
void applyControl(QWidget& widget, const Control& declared, const Window& window);
// Keyboard focus order by the declared tab indices, among the controls that take focus.
void applyTabOrder(QWidget& window, const Window& form);
// The shapes and lines that are drawn on the window's ground.
void paintDecorations(QPainter& painter, const Window& form);

} // namespace zelvo::layout
