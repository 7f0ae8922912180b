#include "FontReadAhead.h"
#include "Startup.h"
#include "WindowRegistry.h"
#include "desktop/DesktopPlatform.h"
#include "pictures/PictureLoader.h"
#include "settings/SettingsStore.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (!zelvo::displayReachable())
        return 1;
    zelvo::FontReadAhead fonts;
    zelvo::avoidSessionBusAutolaunch();
    zelvo::beginPlatformStart();
    QApplication app(argc, argv);
    zelvo::endPlatformStart();
    fonts.applicationStarted();
    zelvo::configureApplication();
    zelvo::applyPictureAllocationLimit();

    zelvo::SettingsStore store;
    zelvo::DesktopPlatform platform;
    zelvo::WindowRegistry windows(store, platform);
    windows.start();
    const int status = QApplication::exec();
    fonts.wait();
    return status;
}
