#pragma once

#include "calibration/ScreenGeometry.h"

#include <optional>

namespace zorvane {

// The frame's orientation as it reports it: rotation 0..3 for 0, 90, 180 and 270 degrees, and the
// reverse-mounting flag, where only the value 1 means reversed.
struct Orientation {
    int rotation = 0;
    int reversed = 0;

    bool operator==(const Orientation&) const = default;
};

// A vector in the frame's own axes.
struct FrameVector {
    int u = 0;
    int v = 0;

    bool operator==(const FrameVector&) const = default;
};

// Converts a screen vector into the frame's own axes. A rotation outside 0..3 has no mapping.
std::optional<FrameVector> OrientationMap(Orientation orientation, ScreenVector screen);

// Rotation 0 and not reversed: the frame's axes are the screen's.
bool IsUpright(Orientation orientation);

}  // namespace zorvane
