// zorvane-demo: the tool on the built-in simulated frame.

#include "DeviceInfoListing.h"
#include "platform/linux/OwnExecutableName.h"
#include "platform/linux/ProcProcessList.h"
#include "sim/SimulatedHidBackend.h"

#include <iostream>

int main()
{
    using namespace zorvane;
    return ListDeviceInfo(
        [] {
            return LinkPlatform{std::make_shared<SimulatedHidBackend>(), std::make_shared<ProcProcessList>(),
                                OwnExecutableName()};
        },
        std::cout);
}
