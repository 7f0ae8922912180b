#include "DesktopPlatform.h"

#include "PrintService.h"
#include "SettingsFolder.h"
#include "core/PagePlacement.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace zelvo {

void DesktopPlatform::messageBox(QWidget* parent, const QString& prompt, MessageStyle style,
                                 const QString& title)
{
    const QMessageBox::Icon icon = style == MessageStyle::Critical      ? QMessageBox::Critical
                                   : style == MessageStyle::Exclamation ? QMessageBox::Warning
                                   : style == MessageStyle::Information ? QMessageBox::Information
                                                                        : QMessageBox::NoIcon;
    QMessageBox box(icon, title.isEmpty() ? QStringLiteral("Zelvo") : title, prompt,
                    QMessageBox::Ok, parent);
    box.exec();
}

bool DesktopPlatform::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

std::optional<QString> DesktopPlatform::chooseFolder(QWidget* parent, const QString& startFolder)
{
    // The dialog would keep its history and view in a settings file of Qt's when it closes.
    const QtSettingsAside aside;
    const QString folder = QFileDialog::getExistingDirectory(parent, QString(), startFolder);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QString> DesktopPlatform::chooseSaveFile(QWidget* parent, const QString& proposedPath,
                                                       const QString& filter)
{
    const QtSettingsAside aside;
    QFileDialog dialog(parent, QString(), QFileInfo(proposedPath).path(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an extension takes the filter's, before the dialog asks about
    // replacing a file of that name.
    dialog.setDefaultSuffix(
        filter.section(QStringLiteral("*."), 1).section(QLatin1Char(')'), 0, 0));
    dialog.selectFile(QFileInfo(proposedPath).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

bool DesktopPlatform::printPage(const QImage& image)
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

bool DesktopPlatform::choosePrinter(QWidget* parent, QPrinter& printer)
{
    // The parent may be closed and deleted while the dialog runs, and the dialog with it.
    const QPointer<QPrintDialog> dialog = new QPrintDialog(&printer, parent);
    const bool chosen = dialog->exec() == QDialog::Accepted && dialog;
    delete dialog.data();
    return chosen;
}

void DesktopPlatform::endProgram()
{
    QApplication::exit(0);
}

} // namespace zelvo
