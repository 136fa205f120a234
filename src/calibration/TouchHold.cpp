#include "calibration/TouchHold.h"

#include <cstdlib>

namespace zorvane {

void TouchHold::Press(ScreenPoint at)
{
    pressed = true;
    pointer = at;
    stillStart = at;
    stillTime = 0;
}

void TouchHold::Release()
{
    pressed = false;
    stillTime = 0;
}

void TouchHold::Move(ScreenPoint to)
{
    pointer = to;
}

bool TouchHold::AdvanceStillness()
{
    if (stillTime >= kStillMs)
        return true;
    const ScreenVector drift = pointer - stillStart;
    if (std::abs(drift.x) <= kStillRadius && std::abs(drift.y) <= kStillRadius) {
        stillTime += kTickMs;
    } else {
        stillStart = pointer;
        stillTime = 0;
    }
    return false;
}

}  // namespace zorvane
