#pragma once

#include <QBrush>
#include <QColor>

#include <array>

namespace zelvo {

// What shows behind the transparent parts of a picture.
enum class Ground {
    Face, // the window's own colour
    White,
    Black,
    Checkerboard, // grey squares of two shades
};

struct GroundChoice
{
    Ground ground;
    const char* name;
};

// In the order the tile window steps through them; the first is the one every window starts in.
inline constexpr std::array<GroundChoice, 4> Grounds{{
    {Ground::Face, "Ground: window colour"},
    {Ground::White, "Ground: white"},
    {Ground::Black, "Ground: black"},
    {Ground::Checkerboard, "Ground: checkerboard"},
}};

[[nodiscard]] constexpr const GroundChoice& groundChoice(Ground ground)
{
    for (const GroundChoice& choice : Grounds) {
        if (choice.ground == ground)
            return choice;
    }
    return Grounds.front();
}

[[nodiscard]] constexpr Ground nextGround(Ground ground)
{
    for (std::size_t i = 0; i + 1 < Grounds.size(); ++i) {
        if (Grounds[i].ground == ground)
            return Grounds[i + 1].ground;
    }
    return Grounds.front().ground;
}

// The side of a square of the checkerboard, in the pixels it is painted in.
inline constexpr int CheckerSide = 8;

// The brush that paints the ground, its squares from the painter's origin; face is the window's
// own colour.
[[nodiscard]] QBrush groundBrush(Ground ground, const QColor& face);

} // namespace zelvo
