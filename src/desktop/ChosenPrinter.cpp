#include "ChosenPrinter.h"

#include "PrintService.h"

#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QWidget>

namespace zelvo {

PrintResult printOnChosenPrinter(Platform& platform, QWidget* parent, const QString& documentName,
                                 const PageDrawing& draw)
{
    using namespace std::chrono_literals;
    const QPointer<QWidget> owner(parent);
    // Qt asks the service about its printers without a bound of its own, dialog included.
    if (!serviceAnswers(5s))
        return owner ? PrintResult::Failed : PrintResult::Cancelled;
    if (!owner)
        return PrintResult::Cancelled;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setFullPage(false);
    if (!platform.choosePrinter(owner, printer) || !owner)
        return PrintResult::Cancelled;
    // The dialog's "print to file" needs no queue.
    const bool toFile = !printer.outputFileName().isEmpty();
    if (!printer.isValid() || (!toFile && (printer.printerState() == QPrinter::Error ||
                                           !queueTakesJobs(printer.printerName()))))
        return PrintResult::Failed;
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintResult::Failed;
    // Without this Qt's PDF output may store the pictures as JPEG, which smears their edges.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    if (!draw(painter, printer.pageRect(QPrinter::DevicePixel).size(), printer.resolution())) {
        printer.abort();
        painter.end();
        return PrintResult::Failed;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return PrintResult::Failed;
    return toFile || lastJobTaken() ? PrintResult::Printed : PrintResult::Failed;
}

} // namespace zelvo
