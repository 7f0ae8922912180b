#include "RealSize.h"

#include <cmath>

namespace zelvo {

namespace {

constexpr double CentimetresPerInch = 2.54;

[[nodiscard]] bool sensible(double pixelsPerInch)
{
    return std::isfinite(pixelsPerInch) && pixelsPerInch >= MinPixelsPerInch &&
           pixelsPerInch <= MaxPixelsPerInch;
}

// Two decimals at most, without trailing zeros: "12.7", "2.54", "5".
[[nodiscard]] QString number(double value)
{
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

std::optional<QSizeF> paperInches(QSize pixels, const std::optional<StoredResolution>& stored)
{
    if (!stored || pixels.isEmpty())
        return std::nullopt;
    const QSizeF inches =
        stored->unit == StoredResolution::Unit::Inches
            ? QSizeF(stored->across, stored->down)
            : QSizeF(pixels.width() / stored->across, pixels.height() / stored->down);
    // A drawing's size is checked by the resolution it is drawn at, so that either way the copies
    // on a page stay countable.
    if (!sensible(pixels.width() / inches.width()) || !sensible(pixels.height() / inches.height()))
        return std::nullopt;
    return inches;
}

QSizeF paperInchesOrScreen(QSize pixels, const std::optional<StoredResolution>& stored)
{
    return paperInches(pixels, stored)
        .value_or(QSizeF(pixels.width() / UnstatedPixelsPerInch,
                         pixels.height() / UnstatedPixelsPerInch));
}

Measure measureFor(QLocale::MeasurementSystem system)
{
    return system == QLocale::MetricSystem ? Measure::Centimetres : Measure::Inches;
}

QString paperSizeText(QSizeF inches, Measure measure)
{
    const double factor = measure == Measure::Centimetres ? CentimetresPerInch : 1.0;
    return QStringLiteral("%1 x %2 %3")
        .arg(number(inches.width() * factor), number(inches.height() * factor),
             measure == Measure::Centimetres ? QStringLiteral("cm") : QStringLiteral("in"));
}

QString realSizeText(QSize pixels, const std::optional<QSizeF>& inches, Measure measure)
{
    const QString size = QStringLiteral("%1 x %2 px").arg(pixels.width()).arg(pixels.height());
    if (!inches)
        return size + QStringLiteral(", no stored resolution");
    const long across = std::lround(pixels.width() / inches->width());
    const long down = std::lround(pixels.height() / inches->height());
    const QString dpi =
        across == down ? QString::number(across) : QStringLiteral("%1 x %2").arg(across).arg(down);
    return QStringLiteral("%1, %2 at %3 dpi").arg(size, paperSizeText(*inches, measure), dpi);
}

} // namespace zelvo
