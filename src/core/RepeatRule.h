#pragma once

#include <QPoint>
#include <QSize>

#include <array>

namespace zelvo {

// How the copies of a picture are laid over the tile window, from its top-left corner.
enum class Repeat {
    SideBySide, // edge to edge in rows and columns
    HalfDrop,   // every other column shifted down by half a copy
    Brick,      // every other row shifted right by half a copy
    Mirror,     // every other column mirrored left-right, every other row top-bottom
};

struct RepeatSystem
{
    Repeat repeat;
    const char* name;
};

// In the order the tile window steps through them; the first is the one every window starts in.
inline constexpr std::array<RepeatSystem, 4> RepeatSystems{{
    {Repeat::SideBySide, "Side by side"},
    {Repeat::HalfDrop, "Half-drop"},
    {Repeat::Brick, "Brick"},
    {Repeat::Mirror, "Mirror"},
}};

[[nodiscard]] constexpr const RepeatSystem& repeatSystem(Repeat repeat)
{
    for (const RepeatSystem& system : RepeatSystems) {
        if (system.repeat == repeat)
            return system;
    }
    return RepeatSystems.front();
}

[[nodiscard]] constexpr Repeat nextRepeat(Repeat repeat)
{
    for (std::size_t i = 0; i + 1 < RepeatSystems.size(); ++i) {
        if (RepeatSystems[i].repeat == repeat)
            return RepeatSystems[i + 1].repeat;
    }
    return RepeatSystems.front().repeat;
}

// Where one copy lies and which way round it is drawn.
struct CopyPlace
{
    QPoint topLeft;
    bool mirroredAcross = false; // left-right
    bool mirroredDown = false;   // top-bottom

    friend constexpr bool operator==(const CopyPlace&, const CopyPlace&) = default;
};

// The copy in the given column and row (negative ones lie above and left of the first) of copies
// of the given size. Half a copy is rounded down.
[[nodiscard]] constexpr CopyPlace copyPlace(Repeat repeat, QSize copy, int column, int row)
{
    const bool oddColumn = (column & 1) != 0;
    const bool oddRow = (row & 1) != 0;
    CopyPlace place{QPoint(column * copy.width(), row * copy.height())};
    switch (repeat) {
    case Repeat::SideBySide:
        break;
    case Repeat::HalfDrop:
        if (oddColumn)
            place.topLeft.ry() += copy.height() / 2;
        break;
    case Repeat::Brick:
        if (oddRow)
            place.topLeft.rx() += copy.width() / 2;
        break;
    case Repeat::Mirror:
        place.mirroredAcross = oddColumn;
        place.mirroredDown = oddRow;
        break;
    }
    return place;
}

// How many copies across and down the arrangement takes before it repeats itself.
[[nodiscard]] constexpr QSize repeatPeriod(Repeat repeat)
{
    switch (repeat) {
    case Repeat::SideBySide:
        return {1, 1};
    case Repeat::HalfDrop:
        return {2, 1};
    case Repeat::Brick:
        return {1, 2};
    case Repeat::Mirror:
        return {2, 2};
    }
    return {1, 1};
}

// The pixel of the picture that shows at a point of the arrangement.
[[nodiscard]] QPoint pictureAt(Repeat repeat, QSize copy, QPoint point);

// The part of a picture the tile window needs to show an area of this size at 100%: the
// top-left part, but all of it across or down where copies are shifted that way.
inline constexpr int UnclippedLength = 1 << 26;
[[nodiscard]] constexpr QSize repeatClip(Repeat repeat, QSize area)
{
    switch (repeat) {
    case Repeat::HalfDrop:
        return {area.width(), UnclippedLength};
    case Repeat::Brick:
        return {UnclippedLength, area.height()};
    default:
        return area;
    }
}

} // namespace zelvo
