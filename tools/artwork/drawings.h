#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

namespace zelvo::art {

// Marbled grey sphere flecked with orange and red, on a transparent ground, size x size.
[[nodiscard]] QImage drawProgramIcon(int size);

// Every picture below is drawn at `scale` times its size (1, or 2 for screens with twice the
// pixels): the same design with finer detail, not an enlargement.

// 482 x 33 bar of brushed metal with the title in white script.
[[nodiscard]] QImage drawTitleBar(int scale = 1);

// 21 x 21 yellow double chevron pointing right on red.
[[nodiscard]] QImage drawBrowseButton(int scale = 1);

// 97 x 23 dark blue bar with round ends, a green rim and `word` in light green.
[[nodiscard]] QImage drawMenuButton(const QString& word, int scale = 1);

// Grey square with four tiles, size x size (16 as declared); `flashing` turns the tiles red and
// the edge yellow. Uses only VGA colours.
[[nodiscard]] QImage drawTrayIcon(bool flashing, int size = 16);

// 62 x 43, four-colour indexed image of the word Apply; index kApplyTransparentIndex is the
// ground (#474747) and meant to be transparent.
[[nodiscard]] QImage drawApplyLabel(int scale = 1);
inline constexpr int kApplyTransparentIndex = 0;

// 32 x 32 or 16 x 16 envelope with a stamp and speed lines, in VGA colours.
[[nodiscard]] QImage drawMailIcon(int size, int scale = 1);

// 32 x 32 pointing hand in VGA colours; the fingertip is at handCursorHotSpot() (times the
// scale).
[[nodiscard]] QImage drawHandCursor(int scale = 1);
[[nodiscard]] constexpr QPoint handCursorHotSpot()
{
    return {12, 1};
}

// 300 x 228 wavy dark ribbons with the title on seven rows.
[[nodiscard]] QImage drawAboutPicture(int scale = 1);

} // namespace zelvo::art
