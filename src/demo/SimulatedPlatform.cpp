#include "demo/SimulatedPlatform.h"

#include "platform/linux/OwnExecutableName.h"
#include "platform/linux/ProcProcessList.h"

namespace zorvane {

AppPlatform SimulatedPlatform(std::shared_ptr<SimulatedHidBackend> frame)
{
    AppPlatform platform;
    platform.link = [frame] {
        return LinkPlatform{frame, std::make_shared<ProcProcessList>(), OwnExecutableName()};
    };
    platform.notices = [frame] { return frame; };
    return platform;
}

}  // namespace zorvane
