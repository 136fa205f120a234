#include "calibration/TargetStep.h"

#include <cstdlib>

namespace zorvane {
namespace {

constexpr int kNearMissesBeforeNudge = 10;

bool IsNearMiss(ScreenVector error)
{
    return std::abs(error.x) <= 1 && std::abs(error.y) <= 1;
}

}  // namespace

TargetStep StepTowardsTarget(ScreenPoint& pointer, ScreenPoint centre, int& nearMissCount)
{
    TargetStep step;
    step.measured = pointer - centre;
    if (step.measured == ScreenVector{}) {
        nearMissCount = 0;
        step.reached = true;
        return step;
    }
    if (IsNearMiss(step.measured) && nearMissCount++ > kNearMissesBeforeNudge) {
        pointer = {pointer.x - 1, pointer.y - 1};
        nearMissCount = 0;
    }
    step.adjusted = pointer - centre;
    return step;
}

}  // namespace zorvane
