// zorvane: the tool on this machine's hidraw devices.

#include "DeviceInfoListing.h"
#include "platform/linux/HidrawBackend.h"
#include "platform/linux/OwnExecutableName.h"
#include "platform/linux/ProcProcessList.h"

#include <iostream>

int main()
{
    using namespace zorvane;
    return ListDeviceInfo(
        [] {
            return LinkPlatform{HidrawBackend::WithUdev(), std::make_shared<ProcProcessList>(), OwnExecutableName()};
        },
        std::cout);
}
