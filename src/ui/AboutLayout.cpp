#include "Artwork.h"
#include "Author.h"
#include "Layouts.h"

namespace zelvo::layout {

namespace {

constexpr Font Bold975{9.75, true};

constexpr Control Controls[] = {
    {.name = "Abtimg",
     .kind = Kind::Picture,
     .place = {120, 120, 4500, 3420},
     .accessibleName = "The Image Zelvo",
     .accessibleDescription = "Click to close",
     .picture = artwork::About,
     .tabIndex = 2, // after the declared order: a press closes the box
     .command = true,
     .stretch = true},
    {.name = "lblVersion",
     .kind = Kind::Label,
     .place = {1740, 3720, 1245, 240},
     .text = "Version: 1.0",
     .fore = 0x3CF2A9,
     .font = Bold975,
     .tabIndex = 0,
     .sizing = Sizing::ToText,
     .transparent = true,
     .centred = true},
    {.name = "lblDisclaimer",
     .kind = Kind::Label,
     .place = {105, 4080, 4500, 240},
     .text = author::CopyrightNotice,
     .fore = 0xFFFFFF,
     .font = Bold975,
     .tabIndex = 1,
     .sizing = Sizing::ToText,
     .transparent = true,
     .centred = true},
    {.name = "Shape1", .kind = Kind::Shape, .place = {0, 0, 4730, 4585}, .fore = 0xFE9C61},
};

} // namespace

const Window About{
    .name = "About",
    .caption = "",
    .frame = Frame::None,
    .clientWidth = 4725,
    .clientHeight = 4590,
    .back = 0x000040,
    .fore = 0x000040,
    .font = Font{9.75, false},
    .icon = artwork::ProgramIcon,
    .controls = Controls,
    .lines = {},
    .accessibleName = "About Zelvo",
};

} // namespace zelvo::layout
