#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QUrl>

#include <cstdio>

namespace zelvo {

namespace {

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();

    Parser()
    {
        // Qt's own options are words after one dash ("-platform"); no letter of them may read
        // as -h or -v.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(
            QStringLiteral("Shows how a picture looks when it is repeated edge to edge as a "
                           "tiled background."));
        parser.addPositionalArgument(
            QStringLiteral("name"),
            QStringLiteral("A picture to show, selected in its folder, or a folder to list."),
            QStringLiteral("[FILE | FOLDER]"));
    }
};

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments)
{
    Parser line;
    CommandLine read;
    if (!line.parser.parse(arguments)) {
        read.complaints.append(line.parser.errorText() +
                               QStringLiteral(" (zelvo --help lists the options)"));
        read.understood = false;
        return read;
    }
    for (const QString& name : line.parser.positionalArguments()) {
        const std::optional<DropTarget> target = dropTarget({QUrl::fromLocalFile(name)});
        if (!target)
            read.complaints.append(QStringLiteral("no such file or folder: ") + name);
        else if (!read.target)
            read.target = target;
    }
    return read;
}

std::optional<int> answerInformationRequest(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    Parser line;
    // The options Qt reads itself are not known here; they are no mistake yet.
    (void)line.parser.parse(arguments);
    if (line.parser.isSet(line.help) || line.parser.isSet(QStringLiteral("help-all"))) {
        // The help's usage line names the program as it was started, which Qt reads from the
        // application object; one without a display is enough.
        const QCoreApplication application(argc, argv);
        print(stdout, line.parser.helpText());
        return 0;
    }
    if (line.parser.isSet(line.version)) {
        print(stdout, QStringLiteral("Zelvo " ZELVO_VERSION "\n"));
        return 0;
    }
    return std::nullopt;
}

} // namespace zelvo
