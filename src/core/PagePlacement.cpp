#include "PagePlacement.h"

#include <algorithm>
#include <cmath>

namespace zelvo {

QRect pagePlacement(QSize imageScreenPixels, QSize printableArea, double printerPixelsPerInch)
{
    if (imageScreenPixels.isEmpty() || printableArea.isEmpty())
        return {};
    const double scale = printerPixelsPerInch / ScreenPixelsPerInch;
    QSizeF size(imageScreenPixels.width() * scale, imageScreenPixels.height() * scale);
    if (size.width() > printableArea.width() || size.height() > printableArea.height())
        size.scale(QSizeF(printableArea), Qt::KeepAspectRatio);
    return QRect(QPoint(0, 0), QSize(std::max(1, int(std::floor(size.width()))),
                                     std::max(1, int(std::floor(size.height())))));
}

QImage sharpenedForPrint(const QImage& image, QSize target, qint64 maxPixels)
{
    if (image.isNull() || target.isEmpty())
        return image;
    int factor =
        std::max(1, std::min(target.width() / image.width(), target.height() / image.height()));
    while (factor > 1 && qint64(image.width()) * factor * image.height() * factor > maxPixels)
        --factor;
    if (factor == 1)
        return image;
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace zelvo
