#include "BackgroundCommands.h"

#include "CommandLine.h"
#include "Startup.h"
#include "desktop/DesktopBackground.h"
#include "pictures/PictureLoader.h"
#include "pictures/RepeatFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QPalette>

#include <cstdio>

namespace zelvo {

namespace {

// Failed work, and arguments that ask for nothing that can be done.
constexpr int Failed = 1;
constexpr int Misused = 2;

// Qt's own warnings (a runtime folder missing, a service not there) are no part of the answer.
void onlyFatal(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "zelvo: %s\n", qPrintable(text));
}

void say(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s%s\n", stream == stderr ? "zelvo: " : "", qPrintable(text));
    std::fflush(stream);
}

int saveRepeat(const BackgroundCommand& command, const RepeatOrder& order)
{
    const RepeatMade made = makeRepeat(command.picture, order);
    if (made.tile.isNull()) {
        say(stderr, made.why);
        return Failed;
    }
    if (const QString why = writePng(made.tile, command.output); !why.isEmpty()) {
        say(stderr, why);
        return Failed;
    }
    say(stdout,
        QStringLiteral("Saved the %1 repeat of \"%2\" (%3 x %4 pixels) as \"%5\".")
            .arg(QString::fromLatin1(repeatSystem(order.repeat).name).toLower(), command.picture)
            .arg(made.tile.width())
            .arg(made.tile.height())
            .arg(command.output));
    return 0;
}

} // namespace

std::optional<int> runBackgroundCommand(int argc, char* argv[])
{
    if (!asksForBackgroundCommand(argc, argv))
        return std::nullopt;
    // No window is shown: the application object only gives the style's colours and the
    // desktop's services, on a display of its own.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(onlyFatal);
    avoidSessionBusAutolaunch();
    beginPlatformStart();
    const QApplication application(argc, argv);
    endPlatformStart();
    configureApplication();
    applyPictureAllocationLimit();
    const BackgroundRequest request = readBackgroundCommand(QApplication::arguments());
    if (!request.command) {
        say(stderr, request.complaint);
        return Misused;
    }
    const BackgroundCommand& command = *request.command;
    if (!QFileInfo(command.picture).isFile()) {
        say(stderr, QStringLiteral("no such file: ") + command.picture);
        return Failed;
    }
    const RepeatOrder order{.repeat = command.repeat,
                            .ground = command.ground,
                            .face = QApplication::palette().color(QPalette::Button)};
    if (command.kind == BackgroundCommand::Kind::SaveRepeat)
        return saveRepeat(command, order);
    const BackgroundReport report = setAsDesktopBackground(command.picture, order);
    say(report.set ? stdout : stderr, report.message);
    return report.set ? 0 : Failed;
}

} // namespace zelvo
