#pragma once

#include "protocol/DeviceInfo.h"
#include "signal/ChartGeometry.h"
#include "signal/ScanDirection.h"

#include <cstdint>

namespace zorvane {

// The column under the mouse: its axis and its 1-based number, 0 for none. Small enough to travel
// as one atomic value, so a frame never pairs one axis with another axis's index.
// Aligned to its size, so that every compiler keeps its atomic lock-free rather than calling libatomic.
struct alignas(8) CursorColumn {
    ScanAxis axis = ScanAxis::X;
    std::int32_t index = 0;

    bool operator==(const CursorColumn&) const = default;
};

// The column under client point (x, y): over the X columns between the caption area and the X base
// line, or over the Y columns between the parameter area below the X base line and the Y base line.
// Outside both the index is 0 and the axis stays as it was. Needs a column width other than 0.
CursorColumn TrackCursor(CursorColumn current, std::int32_t x, std::int32_t y, const ChartGeometry& geometry,
                         const DeviceInfo& info);

}  // namespace zorvane
