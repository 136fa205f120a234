#pragma once

#include "calibration/NinePointTargets.h"
#include "calibration/OrientationMap.h"
#include "calibration/TickOutcome.h"
#include "calibration/TouchHold.h"
#include "protocol/CalibrationRecords.h"

namespace zorvane {

// What the nine-point screen keeps between ticks. Start() sets activeTarget, record, orientation and
// changed; the pointer events drive touch.
struct NinePointSession {
    NinePointCalibration record;
    Orientation orientation;
    int activeTarget = 0;  // NinePointLayout index
    TouchHold touch;
    bool changed = false;  // a target step ran since Start(): Finish() asks about saving
};

// One 20 ms tick of the nine-point loop while the screen is shown. The finger chooses the target by
// its capture zone; once still, an exact hit moves the marker to the next index (or finishes on the
// centre), any other error corrects the record point of that target. nearMissCount is the screen's
// process-wide counter.
//
// On Finish the step leaves changed as it was, because Finish() must ask about saving only when an
// earlier step ran.
TickOutcome NinePointTick(NinePointSession& session, int& nearMissCount, const NinePointLayout& layout);

}  // namespace zorvane
