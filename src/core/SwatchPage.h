#pragma once

#include "RealSize.h"
#include "RepeatRule.h"

#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <optional>

namespace zelvo {

// A printed swatch: the printable area filled with copies of the picture at their size on paper,
// laid in a repeat system from the top-left corner, over a line of caption.
struct SwatchPage
{
    // In the device's pixels, from the printable area's top-left corner.
    QRectF tiling;
    QRectF caption;
    // One copy of the picture.
    QSizeF copy;
    // The copies across and down drawn as one block, the blocks side by side: whole periods of
    // the repeat system, at least MinBlockInches each way, so that a page of tiny copies is
    // still drawn in a few thousand steps.
    QSize blockCopies;
    // The block's pixels for each of the picture's: fewer where the picture is finer than the
    // device, or the block would be larger than MaxBlockPixels.
    double blockScale = 1;
};

inline constexpr double MinBlockInches = 0.1;
inline constexpr qint64 MaxBlockPixels = 32 * 1024 * 1024;

// The page for a picture of the given pixels whose copies are copyInches on paper, on a printable
// area of a device of dpi pixels to the inch, with captionHeight device pixels for the caption;
// nothing where any of them is empty or absurd.
[[nodiscard]] std::optional<SwatchPage> swatchPage(QSizeF printable, double dpi, QSize picture,
                                                   QSizeF copyInches, Repeat repeat,
                                                   double captionHeight);

// "tile.png, Half-drop, repeat 2.54 x 2.54 cm": the copy's size on paper is the repeat's.
[[nodiscard]] QString swatchCaption(const QString& fileName, Repeat repeat, QSizeF copyInches,
                                    Measure measure);

} // namespace zelvo
