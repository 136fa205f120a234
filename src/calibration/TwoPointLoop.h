#pragma once

#include "calibration/OrientationMap.h"
#include "calibration/ScreenGeometry.h"
#include "calibration/TickOutcome.h"
#include "calibration/TouchHold.h"
#include "calibration/TwoPointTargets.h"
#include "protocol/CalibrationRecords.h"

namespace zorvane {

// What the two-point screen keeps between ticks. Start() sets activeTarget, record, orientation
// and changed; the pointer events drive touch.
struct TwoPointSession {
    TwoPointCalibration record;
    Orientation orientation;
    TwoPointTarget activeTarget = TwoPointTarget::TopLeft;
    TouchHold touch;
    bool changed = false;  // a correction was made since Start(): Finish() asks about saving
};

// One 20 ms tick of the two-point loop while the screen is shown. The finger chooses the target by
// its capture zone; once still, an exact hit moves on to the bottom-right target (or finishes from
// there), any other error corrects the record. nearMissCount is the screen's process-wide counter.
TickOutcome TwoPointTick(TwoPointSession& session, int& nearMissCount, ScreenSize screen);

}  // namespace zorvane
