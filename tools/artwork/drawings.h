#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

namespace zelvo::art {

// Marbled grey sphere flecked with orange and red, on a transparent ground, size x size.
[[nodiscard]] QImage drawProgramIcon(int size);

// 482 x 33 bar of brushed metal with the title in white script.
[[nodiscard]] QImage drawTitleBar();

// 21 x 21 yellow double chevron pointing right on red.
[[nodiscard]] QImage drawBrowseButton();

// 97 x 23 dark blue bar with round ends, a green rim and `word` in light green.
[[nodiscard]] QImage drawMenuButton(const QString& word);

// 16 x 16 grey square with four tiles; `flashing` turns the tiles red and the edge yellow.
// Uses only VGA colours.
[[nodiscard]] QImage drawTrayIcon(bool flashing);

// 62 x 43, four-colour indexed image of the word Apply; index kApplyTransparentIndex is the
// ground (#474747) and meant to be transparent.
[[nodiscard]] QImage drawApplyLabel();
inline constexpr int kApplyTransparentIndex = 0;

// 32 x 32 or 16 x 16 envelope with a stamp and speed lines, in VGA colours.
[[nodiscard]] QImage drawMailIcon(int size);

// 32 x 32 pointing hand in VGA colours; the fingertip is at handCursorHotSpot().
[[nodiscard]] QImage drawHandCursor();
[[nodiscard]] constexpr QPoint handCursorHotSpot()
{
    return {12, 1};
}

// 300 x 228 wavy dark ribbons with the title on seven rows.
[[nodiscard]] QImage drawAboutPicture();

} // namespace zelvo::art
