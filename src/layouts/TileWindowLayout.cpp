#include "LayoutRows.h"
#include "Layouts.h"
#include "Palette.h"

namespace zelvo::layout {

namespace {

constexpr Control Controls[] = {
    // Reached after the declared order: it closes the window.
    picture(Kind::TilingImage, "Zelvo", {0, 0, 30, 30}, "", "Tiled picture", 1)
        .toolTip("Click to return")
        .command(),
    ControlRow("Butprint", Kind::PushButton, {5640, 7200, 615, 375}, "Print", 0),
};

} // namespace

const Window TileWindowLayout = titled("Form2", "Zelvo", 11910, 7620, std::nullopt, Grey, Controls);

} // namespace zelvo::layout
