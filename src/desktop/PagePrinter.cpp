#include "PagePrinter.h"

#include "PrintService.h"
#include "core/PagePlacement.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace zelvo {

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
