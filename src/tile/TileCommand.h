#pragma once

#include <Qt>

namespace zelvo {

// What a key does in the tile window.
enum class TileCommand {
    None,
    Close,
    ZoomIn,
    ZoomOut,
    ZoomNatural,
    ToggleGuides,
    ToggleSeamCheck,
    Next,
    Previous,
    First,
    Last,
    Copy,
};

[[nodiscard]] TileCommand tileCommand(int key, Qt::KeyboardModifiers modifiers);

// The row a stepping command moves to in a list of count names from the current row (-1 for
// none), or -1 when there is nothing to move to. The ends do not wrap.
[[nodiscard]] int steppedRow(TileCommand command, int current, int count);

} // namespace zelvo
