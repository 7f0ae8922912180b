#include "PagePrinter.h"

#include "PrintService.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

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

bool printOnDefaultPrinter(const QImage& image)
{
    using namespace std::chrono_literals;
    // A print service that has not answered within a few seconds is not there for this page.
    if (!serviceAnswers(5s))
        return false;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    // A stopped queue shows as an error state; one that rejects jobs only the service can tell.
    if (info.isNull() || info.state() == QPrinter::Error || !queueTakesJobs(info.printerName()))
        return false;
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return false;
    printer.setDocName(QStringLiteral("Zelvo"));
    printer.setFullPage(false);
    printer.setCopyCount(1);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Without this Qt's PDF output may store the image as JPEG, which smears the tiles' edges.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QSize logical = image.deviceIndependentSize().toSize();
    const QRect target = pagePlacement(
        logical, printer.pageRect(QPrinter::DevicePixel).size().toSize(), printer.resolution());
    constexpr qint64 MaxPrintPixels = 32 * 1024 * 1024;
    painter.drawImage(target, sharpenedForPrint(image, target.size(), MaxPrintPixels));
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return false;
    return lastJobTaken();
}

} // namespace zelvo
