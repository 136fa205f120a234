// zorvane: the tool on this machine's hidraw devices.

#include "app/ZorvaneTestApp.h"
#include "platform/linux/HidrawBackend.h"
#include "platform/linux/OwnExecutableName.h"
#include "platform/linux/ProcProcessList.h"
#include "platform/linux/UdevMonitor.h"

#include <cstdio>

int main(int argc, char** argv)
{
    using namespace zorvane;
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "zorvane: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset).\n");
        return 1;
    }
    AppPlatform platform;
    platform.link = [] {
        return LinkPlatform{HidrawBackend::WithUdev(), std::make_shared<ProcProcessList>(), OwnExecutableName()};
    };
    platform.notices = [] { return std::make_shared<UdevMonitor>(); };
    return RunZorvaneTestApp(argc, argv, platform);
}
