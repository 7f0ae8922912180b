#pragma once

#include <QLocale>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <optional>

namespace zelvo {

// What a picture file says of its size on paper: a raster's resolution, or a drawing's size.
struct StoredResolution
{
    enum class Unit {
        PixelsPerInch, // across and down: pixels to the inch
        Inches,        // across and down: the picture's width and height on paper
    };
    Unit unit = Unit::PixelsPerInch;
    double across = 0;
    double down = 0;

    friend bool operator==(const StoredResolution&, const StoredResolution&) = default;
};

// Resolutions outside these are not the picture's: a header written without care (a density of
// 1, or 65535) would otherwise put a picture on paper as miles of pixels or specks.
inline constexpr double MinPixelsPerInch = 10;
inline constexpr double MaxPixelsPerInch = 10000;

// What a picture with no stored resolution is taken at on paper: a screen's pixels.
inline constexpr double UnstatedPixelsPerInch = 96;

// The picture's width and height on paper, in inches; nothing where the file stores no
// resolution, or one outside the sensible range.
[[nodiscard]] std::optional<QSizeF> paperInches(QSize pixels,
                                                const std::optional<StoredResolution>& stored);

// The same, at a screen's resolution where the file stores none.
[[nodiscard]] QSizeF paperInchesOrScreen(QSize pixels,
                                         const std::optional<StoredResolution>& stored);

// How lengths on paper are written for the user.
enum class Measure { Centimetres, Inches };
[[nodiscard]] Measure measureFor(QLocale::MeasurementSystem system);

// "12.7 x 12.7 cm" or "5 x 5 in".
[[nodiscard]] QString paperSizeText(QSizeF inches, Measure measure);

// "1500 x 1500 px, 12.7 x 12.7 cm at 300 dpi", or "1500 x 1500 px, no stored resolution".
[[nodiscard]] QString realSizeText(QSize pixels, const std::optional<QSizeF>& inches,
                                   Measure measure);

} // namespace zelvo
