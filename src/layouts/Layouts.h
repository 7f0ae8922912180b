#pragma once

#include "Layout.h"

namespace zelvo::layout {

extern const Window Form1;
extern const Window Form2;
extern const Window Form3;
extern const Window About;

extern const TrayIconProps Form1Tray;
extern const FolderChooserProps Form1BrowseDialog;

} // namespace zelvo::layout
