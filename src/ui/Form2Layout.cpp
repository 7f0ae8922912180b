#include "Artwork.h"
#include "Layouts.h"

namespace zelvo::layout {

namespace {

constexpr Control Controls[] = {
    {.name = "Zelvo",
     .kind = Kind::TilingImage,
     .place = {0, 0, 30, 30},
     .toolTip = "Click to return",
     .accessibleName = "Tiled picture",
     .tabIndex = 1, // after the declared order: it closes the window
     .command = true},
    {.name = "Butprint",
     .kind = Kind::PushButton,
     .place = {5640, 7200, 615, 375},
     .text = "Print",
     .tabIndex = 0},
};

} // namespace

const Window Form2{
    .name = "Form2",
    .caption = "Zelvo",
    .frame = Frame::FixedSingle,
    .clientWidth = 11910,
    .clientHeight = 7620,
    .back = std::nullopt,
    .fore = 0x474747,
    .font = std::nullopt,
    .icon = artwork::ProgramIcon,
    .controls = Controls,
    .lines = {},
};

} // namespace zelvo::layout
