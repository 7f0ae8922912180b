#pragma once

#include "layouts/Layout.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace zelvo {

class AutoLabel;
class FileListBox;
class ImagePushButton;
class LinkLabel;
class PictureBox;
class TriStateBox;

// Creates one declared control of a window with everything its layout says about it. A name
// the window does not declare as a control of the kind asked for is a fault of the program,
// thrown as std::logic_error before anything is created.
namespace controls {

[[nodiscard]] AutoLabel* label(QWidget& window, const layout::Window& form, const char* name);
// A label that runs a command.
[[nodiscard]] LinkLabel* link(QWidget& window, const layout::Window& form, const char* name);
// A picture that runs a command.
[[nodiscard]] PictureBox* picture(QWidget& window, const layout::Window& form, const char* name);
// A picture that only shows.
[[nodiscard]] QLabel* graphic(QWidget& window, const layout::Window& form, const char* name);
[[nodiscard]] QPushButton* button(QWidget& window, const layout::Window& form, const char* name);
[[nodiscard]] ImagePushButton* imageButton(QWidget& window, const layout::Window& form,
                                           const char* name);
[[nodiscard]] TriStateBox* checkBox(QWidget& window, const layout::Window& form, const char* name);
[[nodiscard]] QRadioButton* optionButton(QWidget& window, const layout::Window& form,
                                         const char* name);
[[nodiscard]] FileListBox* fileList(QWidget& window, const layout::Window& form, const char* name);

// Gives a control made by a window of its own what its layout says about it.
void declare(QWidget& widget, const layout::Window& form, const char* name, layout::Kind kind);

} // namespace controls
} // namespace zelvo
