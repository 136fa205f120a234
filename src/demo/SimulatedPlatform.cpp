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
    // The bezel lies on the display the target screens cover.
    platform.mainScreenSize = [frame](QSize size) { frame->frame().SetDisplay({size.width(), size.height()}); };
    return platform;
}

}  // namespace zorvane
