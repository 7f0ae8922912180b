#include "Artwork.h"
#include "Author.h"
#include "LayoutRows.h"
#include "Layouts.h"
#include "Palette.h"

namespace zelvo::layout {

namespace {

constexpr QRgb PaleYellow = 0xFFFF80;
// The frames' lit and shaded edges.
constexpr QRgb Light = FrameGrey;
constexpr QRgb Dark = 0x000000;

// The choices are white on the window's grey; the description says what they choose.
constexpr ControlRow choice(Kind kind, const char* name, Place place, const char* text,
                            int tabIndex, const char* chooses)
{
    return ControlRow(name, kind, place, text, tabIndex)
        .fore(White)
        .back(Grey)
        .accessibleDescription(chooses);
}

constexpr ControlRow sizeOption(const char* name, Place place, const char* text, int tabIndex)
{
    return choice(Kind::OptionButton, name, place, text, tabIndex, "Size of the tile window");
}

constexpr ControlRow typeCheck(const char* name, Place place, const char* text, int tabIndex)
{
    return choice(Kind::CheckBox, name, place, text, tabIndex, "List these picture files");
}

constexpr Control Controls[] = {
    label("Label1", {368, 390, 3855, 735},
          "Select the size of the Zelvo's window. Check the box that fits your screen and "
          "push Apply button to set the choice.",
          PaleYellow, 5)
        .sizing(Sizing::ToTextWrapped),
    sizeOption("Option1", {480, 1380, 1095, 495}, "Small", 4),
    sizeOption("Option2", {1860, 1380, 1095, 495}, "Medium", 3).state(1),
    sizeOption("Option3", {3360, 1380, 885, 495}, "Large", 2),
    label("Label3", {308, 2460, 3825, 495},
          "Check the appropriate file types to enable them for browsing.", PaleYellow, 6)
        .sizing(Sizing::ToTextWrapped),
    typeCheck("Check1", {480, 3120, 855, 375}, "Bitmap", 10).state(2),
    typeCheck("Check2", {1520, 3120, 855, 375}, "Jpg", 9),
    typeCheck("Check3", {2560, 3120, 855, 375}, "Gif", 8),
    typeCheck("Check4", {3600, 3120, 855, 375}, "Ico", 7),
    typeCheck("Check5", {480, 3495, 855, 375}, "Png", 11),
    typeCheck("Check6", {1520, 3495, 855, 375}, "Webp", 12),
    typeCheck("Check7", {2560, 3495, 855, 375}, "Tiff", 13),
    typeCheck("Check8", {3600, 3495, 855, 375}, "Svg", 14),
    imageButton("SoftBttn1", {1800, 4215, 975, 615}, artwork::Apply, "Apply", 1)
        .toolTip("Apply the changes and exit"),
    picture(Kind::Picture, "Image1", {480, 4815, 480, 480}, artwork::MailIcon, "Mail"),
    label("Label2", {1080, 4935, 2445, 240}, author::ContactAddress, 0xFF0000, 0)
        .font(Font{9.75, true, true})
        .toolTip("Mail to me !")
        .accessibleName("Mail the author")
        .command()
        .cursor(Cursor{artwork::PointingHand, 12, 1}),
};

// Two raised frames, each holding a sunken box; the lower one holds two rows of type boxes.
constexpr Line Lines[] = {
    {"Line1", Light, 150, 180, 4470, 180},    {"Line3", Light, 135, 180, 135, 2070},
    {"Line5", Dark, 128, 2070, 4448, 2070},   {"Line7", Dark, 4455, 180, 4455, 2070},
    {"Line9", Dark, 270, 300, 4305, 300},     {"Line13", Dark, 270, 300, 270, 1110},
    {"Line11", Light, 270, 1110, 4320, 1110}, {"Line14", Light, 4298, 300, 4298, 1110},
    {"Line2", Light, 128, 2220, 4448, 2220},  {"Line4", Light, 128, 2220, 128, 3975},
    {"Line6", Dark, 128, 3975, 4448, 3975},   {"Line8", Dark, 4448, 2220, 4448, 3975},
    {"Line10", Dark, 270, 2340, 4320, 2340},  {"Line15", Dark, 270, 2340, 270, 2955},
    {"Line12", Light, 248, 2970, 4298, 2970}, {"Line16", Light, 4298, 2340, 4298, 2970},
};

} // namespace

const Window OptionsWindowLayout =
    titled("Form3", "Options", 4590, 5370, Grey, Grey, Controls, Lines);

} // namespace zelvo::layout
