#pragma once

#include "Platform.h"

namespace zelvo {

// The real desktop: Qt's message boxes, folder and save dialogs, document opener and print system.
class DesktopPlatform : public Platform
{
public:
    void messageBox(QWidget* parent, const QString& prompt, MessageStyle style,
                    const QString& title) override;
    bool openUrl(const QUrl& url) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& startFolder) override;
    std::optional<QString> chooseSaveFile(QWidget* parent, const QString& proposedPath,
                                          const QString& filter) override;
    bool printPage(const QImage& image) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    void endProgram() override;
};

} // namespace zelvo
