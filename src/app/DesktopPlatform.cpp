#include "DesktopPlatform.h"

#include "settings/SettingsFormat.h"
#include "tile/PagePrinter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace zelvo {

namespace {

QMessageBox::Icon iconFor(MessageStyle style)
{
    switch (style) {
    case MessageStyle::Critical:
        return QMessageBox::Critical;
    case MessageStyle::Exclamation:
        return QMessageBox::Warning;
    case MessageStyle::Information:
        return QMessageBox::Information;
    case MessageStyle::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void DesktopPlatform::messageBox(QWidget* parent, const QString& prompt, MessageStyle style,
                                 const QString& title)
{
    QMessageBox box(iconFor(style), title.isEmpty() ? QStringLiteral("Zelvo") : title, prompt,
                    QMessageBox::Ok, parent);
    box.exec();
}

void DesktopPlatform::beep()
{
    QApplication::beep();
}

bool DesktopPlatform::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

std::optional<QString> DesktopPlatform::chooseFolder(QWidget* parent, const QString& startFolder)
{
    // The dialog would keep its history and view in a settings file of Qt's when it closes.
    const settings::QtSettingsAside aside;
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
