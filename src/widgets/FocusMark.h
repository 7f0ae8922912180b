#pragma once

class QWidget;

namespace zelvo {

// Marks the control that has the keyboard focus in each of the program's windows while the
// keyboard moved it there, as a browser shows :focus-visible: a focus that comes with the last
// input a key (Tab, a shortcut, an arrow, or a key that opened or closed a window) is marked, one
// that comes with a mouse press is not, and a mouse press takes the mark away. The mark is a
// 2-pixel ring in a bright colour between two 1-pixel dark edges around the control, which stands
// out on every ground and picture. Qt's own style follows the same rule, as it draws its focus
// frames only in a window whose focus the keyboard moved. Installing more than once changes
// nothing.
void installFocusMarks();

} // namespace zelvo
