#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

namespace zelvo {

// Screen pixels are 15 twips: 96 to the inch.
inline constexpr double ScreenPixelsPerInch = 96.0;

// Where an image of the window lands on the page, in printer pixels relative to the top-left
// of the printable area: at its size on screen where it fits, else scaled down to fit with its
// proportions kept.
[[nodiscard]] QRect pagePlacement(QSize imageScreenPixels, QSize printableArea,
                                  double printerPixelsPerInch);

// The image enlarged by whole pixels, without smoothing, so that the page is not drawn from a
// coarse copy; no larger than maxPixels.
[[nodiscard]] QImage sharpenedForPrint(const QImage& image, QSize target, qint64 maxPixels);

} // namespace zelvo
