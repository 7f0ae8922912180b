#pragma once

#include <QRect>
#include <QRgb>

#include <algorithm>
#include <optional>
#include <span>

// Window layouts as declared data: what each window and control looks like when it is created.
// Places are in twips of the client area (1/1440 inch, 15 twips to a logical pixel).
namespace zelvo::layout {

using Twips = int;

[[nodiscard]] constexpr int pixels(Twips twips)
{
    return (twips * 2 + (twips >= 0 ? 15 : -15)) / 30;
}

struct Place
{
    Twips left = 0;
    Twips top = 0;
    Twips width = 0;
    Twips height = 0;
};

[[nodiscard]] constexpr QRect pixels(const Place& place)
{
    return {pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height)};
}

// "MS Sans Serif" at a declared size and weight; the desktop's sans-serif stands in for it.
struct Font
{
    double points = 8.25;
    bool bold = false;
    bool underline = false;
};

enum class Kind {
    Shape,
    Label,
    Picture,
    FileList,
    PushButton,
    GraphicalButton,
    ImageButton,
    CheckBox,
    OptionButton,
    TilingImage,
    TrayIcon,
    FolderChooser,
};

enum class Sizing {
    Fixed,
    ToText,        // width and height follow the caption
    ToTextWrapped, // width fixed, height follows the wrapped caption
};

struct TrayIconProps
{
    const char* icon;
    const char* toolTipText;
    bool enabled;
    bool trueClick;
    bool visible;
    const char* flashIcon;
    int flashInterval;
    bool flashEnabled;
    // The icons' names in the desktop's icon theme, which has them at every size installed.
    const char* themeIcon;
    const char* themeFlashIcon;
};

struct Cursor
{
    const char* picture;
    int hotX;
    int hotY;
};

struct Control
{
    const char* name;
    Kind kind;
    Place place{};
    const char* text = "";
    std::optional<QRgb> fore{}; // text colour, or the line colour of a shape
    std::optional<QRgb> back{};
    std::optional<Font> font{}; // none: the window's font
    const char* toolTip = "";
    // What assistive technologies read: the name, where the text does not say what the control
    // is or does, and the description, where there is no tool tip to give it.
    const char* accessibleName = "";
    const char* accessibleDescription = "";
    const char* picture = "";
    int tabIndex = -1; // -1: takes no keyboard focus
    // A label or picture that runs a command when clicked: the keyboard reaches it at its tab index
    // and Space, Enter and assistive technologies press it.
    bool command = false;
    Sizing sizing = Sizing::Fixed;
    bool transparent = false;
    bool border = false;
    bool stretch = false;
    bool isDefault = false;
    bool centred = false;
    int state = 0; // check box 0, 1, 2 (grayed); option button 1 when selected
    std::optional<Cursor> cursor{};
};

// A one-pixel line drawn on the window's ground.
struct Line
{
    const char* name;
    QRgb colour;
    Twips x1;
    Twips y1;
    Twips x2;
    Twips y2;
};

enum class Frame {
    None,        // no border and no title bar
    FixedSingle, // a title bar showing the caption, no buttons, not resizable
};

struct Window
{
    const char* name;
    const char* caption;
    Frame frame;
    Twips clientWidth;
    Twips clientHeight;
    std::optional<QRgb> back;
    std::optional<QRgb> fore;
    std::optional<Font> font;
    const char* icon;
    std::span<const Control> controls;
    std::span<const Line> lines;
    const char* accessibleName = ""; // where the caption does not name the window
};

// The kinds of control that take the keyboard focus; a label or a picture takes it where it runs
// a command.
inline constexpr Kind FocusableKinds[] = {Kind::FileList,        Kind::PushButton,
                                          Kind::GraphicalButton, Kind::ImageButton,
                                          Kind::CheckBox,        Kind::OptionButton};

// Whether the control is on the keyboard's way through its window.
[[nodiscard]] constexpr bool takesFocus(const Control& control)
{
    return control.tabIndex >= 0 &&
           (control.command ||
            std::ranges::find(FocusableKinds, control.kind) != std::ranges::end(FocusableKinds));
}

// The control the window declares by this name; a name it does not declare is a fault of the
// program, thrown as std::logic_error that names the window and the control.
[[nodiscard]] const Control& control(const Window& window, const char* name);

} // namespace zelvo::layout
