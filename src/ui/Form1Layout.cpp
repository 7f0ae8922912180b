#include "Artwork.h"
#include "Layouts.h"

namespace zelvo::layout {

namespace {

constexpr Font Regular975{9.75, false};
constexpr Font Bold975{9.75, true};
constexpr QRgb Navy = 0x000040;
constexpr QRgb LightOrange = 0xFE9C61;
constexpr QRgb FrameGrey = 0x6E6E6E;

// Top of the window downwards; the two controls without an area last.
constexpr Control Controls[] = {
    {.name = "Shape1", .kind = Kind::Shape, .place = {0, 0, 7450, 6480}, .fore = LightOrange},
    {.name = "Image1",
     .kind = Kind::Picture,
     .place = {120, 120, 7230, 495},
     .picture = artwork::Title,
     .stretch = true},
    {.name = "Shape2", .kind = Kind::Shape, .place = {120, 720, 7215, 5655}, .fore = FrameGrey},
    {.name = "Labelimg",
     .kind = Kind::Label,
     .place = {720, 960, 1155, 240},
     .text = "Image files",
     .fore = 0xC04000,
     .font = Bold975,
     .tabIndex = 4,
     .sizing = Sizing::ToText,
     .transparent = true},
    {.name = "Labelfnd",
     .kind = Kind::Label,
     .place = {2310, 960, 75, 240},
     .fore = 0x808080,
     .font = Bold975,
     .tabIndex = 9,
     .sizing = Sizing::ToText,
     .transparent = true},
    {.name = "Labeldis",
     .kind = Kind::Label,
     .place = {4560, 960, 1695, 240},
     .text = "Preview Display",
     .fore = 0xC04000,
     .font = Bold975,
     .tabIndex = 3,
     .sizing = Sizing::ToText,
     .transparent = true},
    {.name = "Files",
     .kind = Kind::FileList,
     .place = {690, 1440, 2010, 2010},
     .text = "*.bmp",
     .fore = 0x3CF2A9,
     .back = Navy,
     .font = Regular975,
     .tabIndex = 6},
    {.name = "Display",
     .kind = Kind::Picture,
     .place = {4560, 1440, 2010, 2010},
     .toolTip = "Click to tile",
     .border = true,
     .stretch = true},
    {.name = "Opendir",
     .kind = Kind::GraphicalButton,
     .place = {3495, 2280, 375, 375},
     .back = 0x474747,
     .font = Regular975,
     .toolTip = "Select the image's directory",
     .picture = artwork::BrowseArrows,
     .tabIndex = 1,
     .isDefault = true},
    {.name = "Lblbrws",
     .kind = Kind::Label,
     .place = {3270, 2880, 780, 240},
     .text = "Browse",
     .fore = 0xF5C952,
     .font = Bold975,
     .tabIndex = 2,
     .sizing = Sizing::ToText,
     .transparent = true},
    {.name = "lblfile",
     .kind = Kind::Label,
     .place = {720, 3840, 5895, 195},
     .fore = 0x05A981,
     .tabIndex = 5,
     .sizing = Sizing::ToTextWrapped,
     .transparent = true},
    {.name = "Shape3", .kind = Kind::Shape, .place = {360, 4740, 6735, 855}, .fore = FrameGrey},
    {.name = "SoftBttn1",
     .kind = Kind::ImageButton,
     .place = {600, 4980, 1095, 405},
     .toolTip = "Your choices here",
     .picture = artwork::Options,
     .tabIndex = 8,
     .imageButton = ImageButtonProps{}},
    {.name = "SoftBttn2",
     .kind = Kind::ImageButton,
     .place = {5760, 4980, 1095, 405},
     .picture = artwork::Help,
     .tabIndex = 7,
     .imageButton = ImageButtonProps{}},
    {.name = "Out",
     .kind = Kind::PushButton,
     .place = {3090, 5775, 1215, 420},
     .text = "Exit",
     .font = Bold975,
     .toolTip = "Goodbye !",
     .tabIndex = 0},
    {.name = "Tray", .kind = Kind::TrayIcon},
    {.name = "BrowseDialog", .kind = Kind::FolderChooser},
};

} // namespace

const Window Form1{
    .name = "Form1",
    .caption = "",
    .frame = Frame::None,
    .clientWidth = 7455,
    .clientHeight = 6480,
    .back = Navy,
    .fore = Navy,
    .font = std::nullopt,
    .icon = artwork::ProgramIcon,
    .controls = Controls,
    .lines = {},
};

const TrayIconProps Form1Tray{
    .icon = artwork::TrayIcon,
    .toolTipText = "The Image Zelvo",
    .enabled = true,
    .trueClick = true,
    .visible = true,
    .flashSound = 0,
    .flashIcon = artwork::TrayFlashIcon,
    .flashInterval = 800,
    .flashEnabled = false,
};

const FolderChooserProps Form1BrowseDialog{.browseMode = 1, .selectedFolder = ""};

} // namespace zelvo::layout
