#include "DesktopPlatform.h"

#include "PagePrinter.h"
#include "SettingsFolder.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

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

bool DesktopPlatform::printPage(const QImage& image)
{
    return printOnDefaultPrinter(image);
}

void DesktopPlatform::endProgram()
{
    QApplication::exit(0);
}

} // namespace zelvo
