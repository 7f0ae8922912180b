#pragma once

#include "Artwork.h"
#include "Layout.h"
#include "Palette.h"

// Shorthands the window layouts are declared with: a row names what is particular to its
// control, and what the controls of a kind share is said here once.
namespace zelvo::layout {

// The sizes and weights the windows' texts take beside the window's own font.
inline constexpr Font Regular975{9.75, false};
inline constexpr Font Bold975{9.75, true};

// A control as declared so far: each step returns a copy with one more property set.
class ControlRow
{
    // Defined before its first use, so that every compiler can evaluate the rows at compile time.
    template <class Property, class Value>
    [[nodiscard]] constexpr ControlRow with(Property Control::*property, Value value) const
    {
        ControlRow copy = *this;
        copy.m_control.*property = value;
        return copy;
    }

public:
    constexpr ControlRow(const char* name, Kind kind, Place place, const char* text = "",
                         int tabIndex = -1)
        : m_control{.name = name, .kind = kind, .place = place, .text = text, .tabIndex = tabIndex}
    {
    }
    // Implicit, so that a window's table of controls can list the rows themselves.
    constexpr operator Control() const { return m_control; }

    // How it looks.
    [[nodiscard]] constexpr ControlRow fore(QRgb rgb) const { return with(&Control::fore, rgb); }
    [[nodiscard]] constexpr ControlRow back(QRgb rgb) const { return with(&Control::back, rgb); }
    [[nodiscard]] constexpr ControlRow font(Font font) const { return with(&Control::font, font); }
    [[nodiscard]] constexpr ControlRow sizing(Sizing sizing) const
    {
        return with(&Control::sizing, sizing);
    }
    [[nodiscard]] constexpr ControlRow transparent() const
    {
        return with(&Control::transparent, true);
    }
    [[nodiscard]] constexpr ControlRow border() const { return with(&Control::border, true); }
    [[nodiscard]] constexpr ControlRow stretch() const { return with(&Control::stretch, true); }
    [[nodiscard]] constexpr ControlRow centred() const { return with(&Control::centred, true); }
    [[nodiscard]] constexpr ControlRow picture(const char* image) const
    {
        return with(&Control::picture, image);
    }

    // What the tool tip and assistive technologies say.
    [[nodiscard]] constexpr ControlRow toolTip(const char* text) const
    {
        return with(&Control::toolTip, text);
    }
    [[nodiscard]] constexpr ControlRow accessibleName(const char* text) const
    {
        return with(&Control::accessibleName, text);
    }
    [[nodiscard]] constexpr ControlRow accessibleDescription(const char* text) const
    {
        return with(&Control::accessibleDescription, text);
    }

    // How it is used.
    [[nodiscard]] constexpr ControlRow command() const { return with(&Control::command, true); }
    [[nodiscard]] constexpr ControlRow asDefault() const { return with(&Control::isDefault, true); }
    [[nodiscard]] constexpr ControlRow state(int state) const
    {
        return with(&Control::state, state);
    }
    [[nodiscard]] constexpr ControlRow cursor(Cursor cursor) const
    {
        return with(&Control::cursor, cursor);
    }

private:
    Control m_control;
};

// A frame drawn on the window's ground in the colour of its line.
[[nodiscard]] constexpr ControlRow shape(const char* name, Place place, QRgb line)
{
    return ControlRow(name, Kind::Shape, place).fore(line);
}

// Text on the window's ground, as wide and high as the text unless declared otherwise.
[[nodiscard]] constexpr ControlRow label(const char* name, Place place, const char* text,
                                         QRgb colour, int tabIndex)
{
    return ControlRow(name, Kind::Label, place, text, tabIndex)
        .fore(colour)
        .sizing(Sizing::ToText)
        .transparent();
}

// A control that shows a picture: a picture box, a tiling image or a button. A picture that runs a
// command when pressed also says where the keyboard reaches it.
[[nodiscard]] constexpr ControlRow picture(Kind kind, const char* name, Place place,
                                           const char* image, const char* accessibleName,
                                           int tabIndex = -1)
{
    return ControlRow(name, kind, place, "", tabIndex)
        .picture(image)
        .accessibleName(accessibleName);
}

// The program's own push button drawn from a picture on grey.
[[nodiscard]] constexpr ControlRow imageButton(const char* name, Place place, const char* image,
                                               const char* accessibleName, int tabIndex)
{
    return picture(Kind::ImageButton, name, place, image, accessibleName, tabIndex).back(Grey);
}

// A window with no border and no title bar, so without a caption: assistive technologies read
// the name given instead.
[[nodiscard]] constexpr Window borderless(const char* name, const char* accessibleName,
                                          Twips clientWidth, Twips clientHeight, QRgb back,
                                          QRgb fore, std::span<const Control> controls,
                                          std::optional<Font> font = std::nullopt)
{
    return {name, "",   Frame::None,          clientWidth, clientHeight, back,
            fore, font, artwork::ProgramIcon, controls,    {},           accessibleName};
}

// A window with a title bar that shows its caption.
[[nodiscard]] constexpr Window titled(const char* name, const char* caption, Twips clientWidth,
                                      Twips clientHeight, std::optional<QRgb> back, QRgb fore,
                                      std::span<const Control> controls,
                                      std::span<const Line> lines = {})
{
    return {name, caption,      Frame::FixedSingle,   clientWidth, clientHeight, back,
            fore, std::nullopt, artwork::ProgramIcon, controls,    lines};
}

} // namespace zelvo::layout
