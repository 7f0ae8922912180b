#include "Artwork.h"
#include "Author.h"
#include "LayoutRows.h"
#include "Layouts.h"
#include "Palette.h"

namespace zelvo::layout {

namespace {

// The version and the notice under the picture.
constexpr ControlRow notice(const char* name, Place place, const char* text, QRgb colour,
                            int tabIndex)
{
    return label(name, place, text, colour, tabIndex).font(Bold975).centred();
}

constexpr Control Controls[] = {
    // Reached after the declared order: a press closes the box.
    picture(Kind::Picture, "Abtimg", {120, 120, 4500, 3420}, artwork::About, "The Image Zelvo", 2)
        .accessibleDescription("Click to close")
        .command()
        .stretch(),
    notice("lblVersion", {1740, 3720, 1245, 240}, "Version: 1.0", Aquamarine, 0),
    notice("lblDisclaimer", {105, 4080, 4500, 240}, author::CopyrightNotice, White, 1),
    shape("Shape1", {0, 0, 4730, 4585}, LightOrange),
};

} // namespace

const Window AboutBoxLayout =
    borderless("About", "About Zelvo", 4725, 4590, Navy, Navy, Controls, Regular975);

} // namespace zelvo::layout
