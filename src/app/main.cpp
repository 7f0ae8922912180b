#include "BackgroundCommands.h"
#include "CommandLine.h"
#include "FontReadAhead.h"
#include "MainWindow.h"
#include "Startup.h"
#include "WindowRegistry.h"
#include "desktop/DesktopPlatform.h"
#include "pictures/PictureLoader.h"
#include "pictures/PictureWorkers.h"
#include "settings/SettingsStore.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

int runProgram(int argc, char* argv[])
{
    if (const std::optional<int> status = zelvo::answerInformationRequest(argc, argv))
        return *status;
    if (const std::optional<int> status = zelvo::runBackgroundCommand(argc, argv))
        return *status;
    if (!zelvo::displayReachable())
        return 1;
    zelvo::FontReadAhead fonts;
    zelvo::avoidSessionBusAutolaunch();
    zelvo::beginPlatformStart();
    QApplication app(argc, argv);
    zelvo::endPlatformStart();
    const zelvo::CommandLine line = zelvo::readCommandLine(QApplication::arguments());
    for (const QString& complaint : line.complaints)
        std::fprintf(stderr, "zelvo: %s\n", qPrintable(complaint));
    if (!line.understood)
        return 1;
    fonts.applicationStarted();
    zelvo::configureApplication();
    zelvo::applyPictureAllocationLimit();

    zelvo::SettingsStore store;
    zelvo::DesktopPlatform platform;
    zelvo::WindowRegistry windows(store, platform);
    windows.start();
    if (line.target) {
        zelvo::MainWindow& main = windows.get<zelvo::MainWindow>();
        // Inside the event loop, where its message boxes and the commands that end it work.
        QMetaObject::invokeMethod(
            &main, [&main, target = *line.target] { main.open(target); }, Qt::QueuedConnection);
    }
    const int status = QApplication::exec();
    fonts.wait();
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    const int status = runProgram(argc, argv);
    // A picture worker still running (a read from a stalled share, a decoder that does not stop)
    // ends with the process here, before the libraries it may be running in are unloaded.
    if (zelvo::PictureWorkers::leftRunning()) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
