#pragma once

#include "desktop/Platform.h"

#include <QString>

#include <cstdio>

namespace zelvo::bench {

// Answers the windows' questions in place of a person: the folder chooser confirms one
// folder; a message box, which a benchmark's steps should never raise, is reported.
class BenchPlatform : public Platform
{
public:
    QString folder;
    int messages = 0;

    void messageBox(QWidget*, const QString& prompt, MessageStyle, const QString&) override
    {
        ++messages;
        std::fprintf(stderr, "message box: %s\n", qPrintable(prompt));
    }
    bool openUrl(const QUrl&) override { return false; }
    std::optional<QString> chooseFolder(QWidget*, const QString&) override { return folder; }
    std::optional<QString> chooseSaveFile(QWidget*, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    bool printPage(const QImage&) override { return false; }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
    void endProgram() override {}
};

} // namespace zelvo::bench
