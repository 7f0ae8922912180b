#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class QImage;
class QPrinter;
class QWidget;

namespace zelvo {

// Message box styles: the icon shown beside the prompt, always with one OK button.
enum class MessageStyle {
    Plain = 0,
    Critical = 16,
    Exclamation = 48,
    Information = 64,
};

// Everything the windows ask of the desktop that a test has to answer in place of a person:
// modal boxes and dialogs (folder and save), the desktop's document opener, the printer, and the
// end of the program.
class Platform
{
public:
    virtual ~Platform() = default;

    // An empty title shows the program's title.
    virtual void messageBox(QWidget* parent, const QString& prompt, MessageStyle style,
                            const QString& title) = 0;
    // Asks the desktop to open a document or link; the answer is only whether it was handed on.
    virtual bool openUrl(const QUrl& url) = 0;
    // A modal folder chooser starting at startFolder; nothing when the user cancelled.
    [[nodiscard]] virtual std::optional<QString> chooseFolder(QWidget* parent,
                                                              const QString& startFolder) = 0;
    // A modal save dialog proposing the path, for files of the filter ("PNG picture (*.png)");
    // nothing when the user cancelled. The dialog asks before a file is replaced.
    [[nodiscard]] virtual std::optional<QString>
    chooseSaveFile(QWidget* parent, const QString& proposedPath, const QString& filter) = 0;
    // Prints the image as one page on the default printer; false when it could not be printed.
    [[nodiscard]] virtual bool printPage(const QImage& image) = 0;
    // The print dialog over parent: the printer, its paper and the copies chosen are set on
    // printer; false when the user cancelled.
    [[nodiscard]] virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    virtual void endProgram() = 0;
};

} // namespace zelvo
