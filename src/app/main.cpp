#include "app/DesktopPlatform.h"
#include "app/Startup.h"
#include "app/Windows.h"
#include "settings/SettingsStore.h"
#include "ui/PictureLoader.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (!zelvo::displayReachable())
        return 1;
    zelvo::FontConfigurationReader fonts;
    zelvo::avoidSessionBusAutolaunch();
    zelvo::beginPlatformStart();
    QApplication app(argc, argv);
    zelvo::endPlatformStart();
    zelvo::configureApplication();
    zelvo::applyPictureAllocationLimit();

    zelvo::SettingsStore store;
    zelvo::DesktopPlatform platform;
    zelvo::Windows windows(store, platform);
    fonts.wait();
    windows.start();
    return QApplication::exec();
}
