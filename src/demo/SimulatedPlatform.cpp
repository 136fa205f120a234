#include "demo/SimulatedPlatform.h"

#include "demo/SimulatedTouchPointer.h"
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
    platform.frameLock = kSimulatedFrameLock;
    // The bezel lies on the display the target screens cover, delivered for it.
    platform.mainScreenSize = [frame](QSize size) { frame->frame().DeliverFor({size.width(), size.height()}); };
    // A held mouse press on a target screen is a finger on the frame.
    platform.targetPointer = [frame](TargetPointer::Sink sink) {
        return std::make_unique<SimulatedTouchPointer>(frame, std::move(sink));
    };
    // The simulated frame is no touch digitiser of the desktop: the mouse draws on the drawing test.
    platform.drawingPointer = DrawingPointer::TouchAndMouse;
    // The demo is where the simulation view is tried out: its button is shown.
    platform.simulationButton = true;
    return platform;
}

}  // namespace zorvane
