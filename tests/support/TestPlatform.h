#pragma once

#include "desktop/Platform.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>
#include <optional>

namespace zelvo::test {

// Answers what the windows ask of the desktop, and records it, without any real dialog.
class TestPlatform : public Platform
{
public:
    struct Message
    {
        QString prompt;
        MessageStyle style;
        QString title;

        friend bool operator==(const Message&, const Message&) = default;
        // How a failed comparison shows it.
        friend char* toString(const Message& message)
        {
            return qstrdup(QStringLiteral("\"%1\" in style %2, titled \"%3\"")
                               .arg(message.prompt)
                               .arg(int(message.style))
                               .arg(message.title)
                               .toUtf8()
                               .constData());
        }
    };

    void messageBox(QWidget*, const QString& prompt, MessageStyle style,
                    const QString& title) override
    {
        messages.append({prompt, style, title});
        if (onMessage)
            onMessage(messages.last());
    }
    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return openSucceeds;
    }
    std::optional<QString> chooseFolder(QWidget*, const QString& startFolder) override
    {
        chooserStarts.append(startFolder);
        if (folderAnswers.empty())
            return std::nullopt;
        const bool confirmed = folderAnswers.front().has_value();
        const QString folder = folderAnswers.front().value_or(QString());
        folderAnswers.pop_front();
        if (!confirmed)
            return std::nullopt;
        return folder;
    }
    std::optional<QString> chooseSaveFile(QWidget*, const QString& proposedPath,
                                          const QString& filter) override
    {
        saveProposals.append({proposedPath, filter});
        if (saveAnswers.empty())
            return std::nullopt;
        std::optional<QString> answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    bool printPage(const QImage& image) override
    {
        printed.append(image);
        return printer ? printer(image) : false;
    }
    bool choosePrinter(QWidget*, QPrinter&) override
    {
        ++printerChoices;
        return printerChosen;
    }
    void endProgram() override { ++ends; }

    QList<Message> messages;
    QList<QUrl> opened;
    bool openSucceeds = true;
    // Each browse takes the next answer: a folder, or nothing for a cancel.
    std::deque<std::optional<QString>> folderAnswers;
    QStringList chooserStarts;
    // Each save dialog takes the next answer: a path, or nothing for a cancel.
    std::deque<std::optional<QString>> saveAnswers;
    QList<QStringList> saveProposals;
    QList<QImage> printed;
    std::function<bool(const QImage&)> printer;
    // The print dialog keeps the default printer, or is cancelled.
    bool printerChosen = false;
    int printerChoices = 0;
    std::function<void(const Message&)> onMessage;
    int ends = 0;
};

} // namespace zelvo::test
