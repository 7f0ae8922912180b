#include "Artwork.h"
#include "Author.h"
#include "Layouts.h"

namespace zelvo::layout {

namespace {

constexpr QRgb Grey = 0x474747;
constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Yellow = 0xFFFF80;
constexpr QRgb Light = 0x6E6E6E;
constexpr QRgb Dark = 0x000000;

constexpr Control Controls[] = {
    {.name = "Label1",
     .kind = Kind::Label,
     .place = {368, 390, 3855, 735},
     .text = "Select the size of the Zelvo's window. Check the box that fits your screen and "
             "push Apply button to set the choice.",
     .fore = Yellow,
     .tabIndex = 5,
     .sizing = Sizing::ToTextWrapped,
     .transparent = true},
    {.name = "Option1",
     .kind = Kind::OptionButton,
     .place = {480, 1380, 1095, 495},
     .text = "Small",
     .fore = White,
     .back = Grey,
     .tabIndex = 4},
    {.name = "Option2",
     .kind = Kind::OptionButton,
     .place = {1860, 1380, 1095, 495},
     .text = "Medium",
     .fore = White,
     .back = Grey,
     .tabIndex = 3,
     .state = 1},
    {.name = "Option3",
     .kind = Kind::OptionButton,
     .place = {3360, 1380, 885, 495},
     .text = "Large",
     .fore = White,
     .back = Grey,
     .tabIndex = 2},
    {.name = "Label3",
     .kind = Kind::Label,
     .place = {308, 2460, 3825, 495},
     .text = "Check the appropriate file types to enable them for browsing.",
     .fore = Yellow,
     .tabIndex = 6,
     .sizing = Sizing::ToTextWrapped,
     .transparent = true},
    {.name = "Check1",
     .kind = Kind::CheckBox,
     .place = {480, 3120, 855, 375},
     .text = "Bitmap",
     .fore = White,
     .back = Grey,
     .tabIndex = 10,
     .state = 2},
    {.name = "Check2",
     .kind = Kind::CheckBox,
     .place = {1520, 3120, 855, 375},
     .text = "Jpg",
     .fore = White,
     .back = Grey,
     .tabIndex = 9},
    {.name = "Check3",
     .kind = Kind::CheckBox,
     .place = {2560, 3120, 855, 375},
     .text = "Gif",
     .fore = White,
     .back = Grey,
     .tabIndex = 8},
    {.name = "Check4",
     .kind = Kind::CheckBox,
     .place = {3600, 3120, 855, 375},
     .text = "Ico",
     .fore = White,
     .back = Grey,
     .tabIndex = 7},
    {.name = "SoftBttn1",
     .kind = Kind::ImageButton,
     .place = {1800, 3840, 975, 615},
     .toolTip = "Apply the changes and exit",
     .picture = artwork::Apply,
     .tabIndex = 1,
     .imageButton = ImageButtonProps{}},
    {.name = "Image1",
     .kind = Kind::Picture,
     .place = {480, 4440, 480, 480},
     .picture = artwork::MailIcon},
    {.name = "Label2",
     .kind = Kind::Label,
     .place = {1080, 4560, 2445, 240},
     .text = author::ContactAddress,
     .fore = 0xFF0000,
     .font = Font{9.75, true, true},
     .toolTip = "Mail to me !",
     .tabIndex = 0,
     .sizing = Sizing::ToText,
     .transparent = true,
     .cursor = Cursor{artwork::PointingHand, 12, 1}},
};

// Two raised frames, each holding a sunken box.
constexpr Line Lines[] = {
    {"Line1", Light, 150, 180, 4470, 180},    {"Line3", Light, 135, 180, 135, 2070},
    {"Line5", Dark, 128, 2070, 4448, 2070},   {"Line7", Dark, 4455, 180, 4455, 2070},
    {"Line9", Dark, 270, 300, 4305, 300},     {"Line13", Dark, 270, 300, 270, 1110},
    {"Line11", Light, 270, 1110, 4320, 1110}, {"Line14", Light, 4298, 300, 4298, 1110},
    {"Line2", Light, 128, 2220, 4448, 2220},  {"Line4", Light, 128, 2220, 128, 3600},
    {"Line6", Dark, 128, 3600, 4448, 3600},   {"Line8", Dark, 4448, 2220, 4448, 3600},
    {"Line10", Dark, 270, 2340, 4320, 2340},  {"Line15", Dark, 270, 2340, 270, 2955},
    {"Line12", Light, 248, 2970, 4298, 2970}, {"Line16", Light, 4298, 2340, 4298, 2970},
};

} // namespace

const Window Form3{
    .name = "Form3",
    .caption = "Options",
    .frame = Frame::FixedSingle,
    .clientWidth = 4590,
    .clientHeight = 4995,
    .back = Grey,
    .fore = Grey,
    .font = std::nullopt,
    .icon = artwork::ProgramIcon,
    .controls = Controls,
    .lines = Lines,
};

} // namespace zelvo::layout
