#include "sim/FrameState.h"

namespace zorvane {

void FrameState::Restart(Personality into)
{
    running = into;
    calibration.current = calibration.stored;
    settings.scanMode = false;
    settings.led = 1;
    bootloader.transfer.reset();
}

}  // namespace zorvane
