#pragma once

#include "Ground.h"
#include "RepeatRule.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

namespace zelvo {

// The word for each repeat system and ground on the command line, in the order of their tables.
struct RepeatWord
{
    Repeat repeat;
    const char* word;
};
inline constexpr std::array<RepeatWord, 4> RepeatWords{{
    {Repeat::SideBySide, "full"},
    {Repeat::HalfDrop, "half-drop"},
    {Repeat::Brick, "brick"},
    {Repeat::Mirror, "mirror"},
}};

struct GroundWord
{
    Ground ground;
    const char* word;
};
inline constexpr std::array<GroundWord, 4> GroundWords{{
    {Ground::Face, "window"},
    {Ground::White, "white"},
    {Ground::Black, "black"},
    {Ground::Checkerboard, "checker"},
}};

[[nodiscard]] std::optional<Repeat> repeatForWord(const QString& word);
[[nodiscard]] std::optional<Ground> groundForWord(const QString& word);
// The words, separated by "|", as a usage line lists them.
[[nodiscard]] QString repeatWordList();
[[nodiscard]] QString groundWordList();

// The smallest picture that, laid side by side, shows the copies of a picture of the given size
// as the repeat system lays them: one period of the arrangement.
[[nodiscard]] constexpr QSize repeatTileSize(Repeat repeat, QSize picture)
{
    const QSize period = repeatPeriod(repeat);
    return {picture.width() * period.width(), picture.height() * period.height()};
}

// The bytes such a picture takes in memory, four to a pixel.
[[nodiscard]] constexpr qint64 repeatTileBytes(Repeat repeat, QSize picture)
{
    const QSize size = repeatTileSize(repeat, picture);
    return 4 * qint64(size.width()) * size.height();
}

// What shows behind transparent parts of a repeat written to a file.
enum class GroundUse {
    // Transparent parts stay transparent on the window-colour ground, for whatever the picture
    // is laid on later; other grounds are laid under it.
    KeepTransparency,
    // Every ground is laid under it, the window colour too: a desktop background is opaque.
    Flatten,
};

struct RepeatOrder
{
    Repeat repeat = RepeatSystems.front().repeat;
    Ground ground = Grounds.front().ground;
    // The window's colour, for the window-colour ground.
    QColor face;
    GroundUse use = GroundUse::KeepTransparency;

    friend bool operator==(const RepeatOrder&, const RepeatOrder&) = default;
};

// One period of the picture's copies laid in the order's repeat system, at natural size, on its
// ground. A checkerboard's squares start again at the top-left corner of each repeat.
[[nodiscard]] QImage repeatTile(const QImage& picture, const RepeatOrder& order);

// The name proposed for the repeat of a picture: its base name and the repeat system, as PNG.
[[nodiscard]] QString repeatFileName(const QString& picturePath, Repeat repeat);

} // namespace zelvo
