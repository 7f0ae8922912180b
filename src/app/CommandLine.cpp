#include "CommandLine.h"

#include <QByteArrayView>
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
    QCommandLineOption setBackground{
        QStringLiteral("set-background"),
        QStringLiteral("Sets the repeat of the picture FILE, on its ground, as the tiled "
                       "background of the running desktop, and ends."),
        QStringLiteral("FILE")};
    QCommandLineOption saveRepeat{
        QStringLiteral("save-repeat"),
        QStringLiteral("Saves the smallest picture that, laid side by side, repeats the picture "
                       "FILE in the repeat system as OUT.png, and ends."),
        QStringLiteral("OUT.png")};
    QCommandLineOption repeat{QStringLiteral("repeat"),
                              QStringLiteral("The repeat system for --set-background and "
                                             "--save-repeat: %1 (side by side, the default).")
                                  .arg(repeatWordList()),
                              QStringLiteral("SYSTEM"), QLatin1String(RepeatWords.front().word)};
    QCommandLineOption ground{QStringLiteral("ground"),
                              QStringLiteral("What shows behind transparent parts: %1 (the "
                                             "window's colour, the default).")
                                  .arg(groundWordList()),
                              QStringLiteral("GROUND"), QLatin1String(GroundWords.front().word)};

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
        parser.addOptions({setBackground, saveRepeat, repeat, ground});
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
    if (line.parser.isSet(line.repeat) || line.parser.isSet(line.ground))
        read.complaints.append(
            QStringLiteral("--repeat and --ground go with --set-background or --save-repeat"));
    for (const QString& name : line.parser.positionalArguments()) {
        const std::optional<DropTarget> target = dropTarget({QUrl::fromLocalFile(name)});
        if (!target)
            read.complaints.append(QStringLiteral("no such file or folder: ") + name);
        else if (!read.target)
            read.target = target;
    }
    return read;
}

bool asksForBackgroundCommand(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        for (const char* name : {"set-background", "save-repeat"}) {
            const QByteArray longName = QByteArray("--") + name;
            if (argument == longName || argument.startsWith(longName + '=') ||
                argument == longName.mid(1) || argument.startsWith(longName.mid(1) + '='))
                return true;
        }
    }
    return false;
}

BackgroundRequest readBackgroundCommand(const QStringList& arguments)
{
    Parser line;
    const auto complaint = [](const QString& why) {
        return BackgroundRequest{std::nullopt,
                                 why + QStringLiteral(" (zelvo --help lists the options)")};
    };
    if (!line.parser.parse(arguments))
        return complaint(line.parser.errorText());
    BackgroundCommand command;
    const QStringList names = line.parser.positionalArguments();
    if (line.parser.isSet(line.setBackground) == line.parser.isSet(line.saveRepeat))
        return complaint(QStringLiteral("--set-background and --save-repeat go one at a time"));
    if (line.parser.isSet(line.setBackground)) {
        command.picture = line.parser.value(line.setBackground);
        if (!names.isEmpty())
            return complaint(QStringLiteral("--set-background takes one picture, not also ") +
                             names.join(QLatin1Char(' ')));
    } else {
        command.kind = BackgroundCommand::Kind::SaveRepeat;
        command.output = line.parser.value(line.saveRepeat);
        if (names.size() != 1)
            return complaint(QStringLiteral("--save-repeat OUT.png takes one picture to repeat"));
        command.picture = names.front();
    }
    const std::optional<Repeat> repeat = repeatForWord(line.parser.value(line.repeat));
    if (!repeat)
        return complaint(QStringLiteral("unknown repeat system \"%1\": one of %2")
                             .arg(line.parser.value(line.repeat), repeatWordList()));
    const std::optional<Ground> ground = groundForWord(line.parser.value(line.ground));
    if (!ground)
        return complaint(QStringLiteral("unknown ground \"%1\": one of %2")
                             .arg(line.parser.value(line.ground), groundWordList()));
    command.repeat = *repeat;
    command.ground = *ground;
    return {command, {}};
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
