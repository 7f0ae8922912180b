#pragma once

#include "Layout.h"

namespace zelvo::layout {

extern const Window MainWindowLayout;
extern const Window TileWindowLayout;
extern const Window OptionsWindowLayout;
extern const Window AboutBoxLayout;

extern const TrayIconProps MainWindowTray;

} // namespace zelvo::layout
