#pragma once

#include "calibration/OrientationMap.h"
#include "protocol/CalibrationRecords.h"

#include <optional>

namespace zorvane {

// The nine points of a NinePointCalibration in record order, named by their place in the frame's
// own axes; point p holds values[2p] (x) and values[2p + 1] (y).
enum class NinePoint {
    TopLeft,
    TopRight,
    BottomRight,
    BottomLeft,
    Centre,
    MiddleLeft,
    TopMiddle,
    MiddleRight,
    BottomMiddle,
};

// The record point a target (NinePointLayout index) corresponds to; none for a rotation outside 0..3.
std::optional<NinePoint> RecordPointFor(int target, Orientation orientation);

// Adds a pointer error on a target, turned into the frame's axes, to the target's record point. A
// rotation outside 0..3 changes nothing.
void CorrectNinePointRecord(NinePointCalibration& record, int target, ScreenVector error, Orientation orientation);

}  // namespace zorvane
