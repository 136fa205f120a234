#pragma once

#include "calibration/OrientationMap.h"
#include "calibration/TwoPointTargets.h"
#include "protocol/CalibrationRecords.h"

#include <optional>

namespace zorvane {

// A corner of a TwoPointCalibration: its x value is left or right, its y value top or bottom.
struct TwoPointCorner {
    bool right = false;
    bool bottom = false;

    bool operator==(const TwoPointCorner&) const = default;
};

// The corner of the record that a target corresponds to in the frame's own axes; none for a rotation
// outside 0..3.
std::optional<TwoPointCorner> CornerFor(TwoPointTarget target, Orientation orientation);

// Adds a pointer error on a target, turned into the frame's axes, to the target's corner. The error
// is added in screen pixels without scaling. A rotation outside 0..3 changes nothing.
void CorrectTwoPointRecord(TwoPointCalibration& record, TwoPointTarget target, ScreenVector error,
                           Orientation orientation);

}  // namespace zorvane
