#include "Artwork.h"
#include "LayoutRows.h"
#include "Layouts.h"
#include "Palette.h"

namespace zelvo::layout {

namespace {

constexpr QRgb Rust = 0xC04000;

// The bold captions over the list, the preview and the browse button.
constexpr ControlRow heading(const char* name, Place place, const char* text, QRgb colour,
                             int tabIndex)
{
    return label(name, place, text, colour, tabIndex).font(Bold975);
}

// Top of the window downwards; the two controls without an area last.
constexpr Control Controls[] = {
    shape("Shape1", {0, 0, 7450, 6480}, LightOrange),
    // Reached after the declared order: it opens the about box.
    picture(Kind::Picture, "Image1", {120, 120, 7230, 495}, artwork::Title, "About Zelvo", 11)
        .command()
        .stretch(),
    shape("Shape2", {120, 720, 7215, 5655}, FrameGrey),
    heading("Labelimg", {720, 960, 1155, 240}, "Image files", Rust, 4),
    heading("Labelfnd", {2310, 960, 75, 240}, "", 0x808080, 9).accessibleName("Image files found"),
    heading("Labeldis", {4560, 960, 1695, 240}, "Preview Display", Rust, 3),
    ControlRow("Files", Kind::FileList, {690, 1440, 2010, 2010}, "*.bmp", 6)
        .fore(Aquamarine)
        .back(Navy)
        .font(Regular975)
        .accessibleName("Image files"),
    // Reached after the declared order: it opens the tile window.
    picture(Kind::Picture, "Display", {4560, 1440, 2010, 2010}, "", "Preview", 10)
        .toolTip("Click to tile")
        .command()
        .border()
        .stretch(),
    picture(Kind::GraphicalButton, "Opendir", {3495, 2280, 375, 375}, artwork::BrowseArrows,
            "Browse", 1)
        .back(Grey)
        .font(Regular975)
        .toolTip("Select the image's directory")
        .asDefault(),
    heading("Lblbrws", {3270, 2880, 780, 240}, "Browse", 0xF5C952, 2),
    label("lblfile", {720, 3840, 5895, 195}, "", 0x05A981, 5)
        .accessibleName("Selected file")
        .sizing(Sizing::ToTextWrapped),
    shape("Shape3", {360, 4740, 6735, 855}, FrameGrey),
    imageButton("SoftBttn1", {600, 4980, 1095, 405}, artwork::Options, "Options", 8)
        .toolTip("Your choices here"),
    imageButton("SoftBttn2", {5760, 4980, 1095, 405}, artwork::Help, "Help", 7)
        .accessibleDescription("Open the help document"),
    ControlRow("Out", Kind::PushButton, {3090, 5775, 1215, 420}, "Exit", 0)
        .font(Bold975)
        .toolTip("Goodbye !"),
    {.name = "Tray", .kind = Kind::TrayIcon},
    {.name = "BrowseDialog", .kind = Kind::FolderChooser},
};

} // namespace

const Window MainWindowLayout = borderless("Form1", "Zelvo", 7455, 6480, Navy, Navy, Controls);

const TrayIconProps MainWindowTray{
    .icon = artwork::TrayIcon,
    .toolTipText = "The Image Zelvo",
    .enabled = true,
    .trueClick = true,
    .visible = true,
    .flashIcon = artwork::TrayFlashIcon,
    .flashInterval = 800,
    .flashEnabled = false,
    .themeIcon = "org.zelvo.Zelvo-tray",
    .themeFlashIcon = "org.zelvo.Zelvo-tray-flash",
};

} // namespace zelvo::layout
