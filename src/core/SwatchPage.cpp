#include "SwatchPage.h"

#include <algorithm>
#include <cmath>

namespace zelvo {

namespace {

[[nodiscard]] bool positive(double value)
{
    return std::isfinite(value) && value > 0;
}

// The smallest number of periods of the given length that reaches MinBlockInches.
[[nodiscard]] int periodsFor(double periodInches)
{
    return int(std::clamp(std::ceil(MinBlockInches / periodInches), 1.0, 1e6));
}

} // namespace

std::optional<SwatchPage> swatchPage(QSizeF printable, double dpi, QSize picture, QSizeF copyInches,
                                     Repeat repeat, double captionHeight)
{
    if (!positive(printable.width()) || !positive(printable.height()) || !positive(dpi) ||
        picture.isEmpty() || !positive(copyInches.width()) || !positive(copyInches.height()))
        return std::nullopt;
    SwatchPage page;
    const double caption = std::clamp(captionHeight, 0.0, printable.height() / 4);
    page.tiling = QRectF(0, 0, printable.width(), printable.height() - caption);
    page.caption = QRectF(0, page.tiling.bottom(), printable.width(), caption);
    page.copy = copyInches * dpi;
    const QSize period = repeatPeriod(repeat);
    page.blockCopies = QSize(period.width() * periodsFor(period.width() * copyInches.width()),
                             period.height() * periodsFor(period.height() * copyInches.height()));
    const double blockPixels = double(page.blockCopies.width()) * picture.width() *
                               page.blockCopies.height() * picture.height();
    const double devicePerPicture =
        std::max(page.copy.width() / picture.width(), page.copy.height() / picture.height());
    page.blockScale =
        std::min({1.0, devicePerPicture, std::sqrt(double(MaxBlockPixels) / blockPixels)});
    // A block too small to hold a pixel shows nothing.
    if (page.blockScale * page.blockCopies.width() * picture.width() < 1 ||
        page.blockScale * page.blockCopies.height() * picture.height() < 1)
        return std::nullopt;
    return page;
}

QString swatchCaption(const QString& fileName, Repeat repeat, QSizeF copyInches, Measure measure)
{
    return QStringLiteral("%1, %2, repeat %3")
        .arg(fileName, QLatin1String(repeatSystem(repeat).name),
             paperSizeText(copyInches, measure));
}

} // namespace zelvo
