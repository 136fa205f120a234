#pragma once

#include "calibration/ScreenGeometry.h"

namespace zorvane {

// What one target step found once the finger had rested: the target reached, or an error to
// correct.
struct TargetStep {
    bool reached = false;
    ScreenVector measured;  // pointer - target centre when the step began
    ScreenVector adjusted;  // the error after the near-miss nudge; equal to measured without one
};

// Measures the pointer against the target centre. An exact hit clears the near-miss count. An error
// of at most one pixel on each axis is a near miss; the twelfth near miss since the count was last
// cleared moves the pointer by (-1, -1) and clears the count. The moved pointer stays until the
// frame reports a new position.
TargetStep StepTowardsTarget(ScreenPoint& pointer, ScreenPoint centre, int& nearMissCount);

}  // namespace zorvane
