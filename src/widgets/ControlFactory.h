#pragma once

#include "layouts/Layout.h"

class QPushButton;
class QRadioButton;
class QWidget;

namespace zelvo {

class AutoLabel;
class FileListBox;
class ImagePushButton;
class PictureBox;
class TilingImage;
class TriStateBox;

// Creates one declared control of a window with everything its layout says about it.
namespace controls {

[[nodiscard]] AutoLabel* label(QWidget& window, const layout::Window& form, const char* name);
[[nodiscard]] PictureBox* picture(QWidget& window, const layout::Window& form, const char* name);
[[nodiscard]] QPushButton* button(QWidget& window, const layout::Window& form, const char* name);
[[nodiscard]] ImagePushButton* imageButton(QWidget& window, const layout::Window& form,
                                           const char* name);
[[nodiscard]] TriStateBox* checkBox(QWidget& window, const layout::Window& form, const char* name);
[[nodiscard]] QRadioButton* optionButton(QWidget& window, const layout::Window& form,
                                         const char* name);
[[nodiscard]] FileListBox* fileList(QWidget& window, const layout::Window& form, const char* name);
[[nodiscard]] TilingImage* tilingImage(QWidget& window, const layout::Window& form,
                                       const char* name);

} // namespace controls
} // namespace zelvo
