#include "TileCommand.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace zelvo {

namespace {

struct KeyBinding
{
    TileCommand command;
    std::initializer_list<int> keys;
};

// The keys the tile window answers when no modifier is held.
const std::array<KeyBinding, 10> PlainKeys{{
    {TileCommand::Close, {Qt::Key_Escape}},
    {TileCommand::ZoomIn, {Qt::Key_Plus, Qt::Key_Equal}},
    {TileCommand::ZoomOut, {Qt::Key_Minus}},
    {TileCommand::ZoomNatural, {Qt::Key_0}},
    {TileCommand::ToggleGuides, {Qt::Key_G}},
    {TileCommand::ToggleSeamCheck, {Qt::Key_S}},
    {TileCommand::Next, {Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown}},
    {TileCommand::Previous, {Qt::Key_Left, Qt::Key_Up, Qt::Key_PageUp}},
    {TileCommand::First, {Qt::Key_Home}},
    {TileCommand::Last, {Qt::Key_End}},
}};

} // namespace

TileCommand tileCommand(int key, Qt::KeyboardModifiers modifiers)
{
    // The keypad sends its own flag; Shift is how + is typed on many keyboards.
    const Qt::KeyboardModifiers held = modifiers & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (held == Qt::ControlModifier)
        return key == Qt::Key_C ? TileCommand::Copy : TileCommand::None;
    if (held != Qt::NoModifier)
        return TileCommand::None;
    const auto binding = std::find_if(PlainKeys.begin(), PlainKeys.end(), [key](const auto& row) {
        return std::find(row.keys.begin(), row.keys.end(), key) != row.keys.end();
    });
    return binding == PlainKeys.end() ? TileCommand::None : binding->command;
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
