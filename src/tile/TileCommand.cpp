#include "TileCommand.h"

#include <algorithm>

namespace zelvo {

TileCommand tileCommand(int key, Qt::KeyboardModifiers modifiers)
{
    // The keypad sends its own flag; Shift is how + is typed on many keyboards.
    const Qt::KeyboardModifiers held = modifiers & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (held == Qt::ControlModifier)
        return key == Qt::Key_C ? TileCommand::Copy : TileCommand::None;
    if (held != Qt::NoModifier)
        return TileCommand::None;
    switch (key) {
    case Qt::Key_Escape:
        return TileCommand::Close;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return TileCommand::ZoomIn;
    case Qt::Key_Minus:
        return TileCommand::ZoomOut;
    case Qt::Key_0:
        return TileCommand::ZoomNatural;
    case Qt::Key_G:
        return TileCommand::ToggleGuides;
    case Qt::Key_S:
        return TileCommand::ToggleSeamCheck;
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        return TileCommand::Next;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        return TileCommand::Previous;
    case Qt::Key_Home:
        return TileCommand::First;
    case Qt::Key_End:
        return TileCommand::Last;
    default:
        return TileCommand::None;
    }
}

int steppedRow(TileCommand command, int current, int count)
{
    if (count <= 0)
        return -1;
    switch (command) {
    case TileCommand::Next:
        return current < 0 ? 0 : std::min(current + 1, count - 1);
    case TileCommand::Previous:
        return current < 0 ? 0 : std::max(current - 1, 0);
    case TileCommand::First:
        return 0;
    case TileCommand::Last:
        return count - 1;
    default:
        return -1;
    }
}

} // namespace zelvo
