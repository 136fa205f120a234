#pragma once

#include "protocol/DeviceInfo.h"
#include "signal/ChartGeometry.h"
#include "signal/ScanDirection.h"

#include <cstdint>
#include <vector>

namespace zorvane {

struct ColumnRect {
    std::int32_t x, y, width, height;

    bool operator==(const ColumnRect&) const = default;
};

// The column of reading `value` at 0-based `index` of a series of `axis`, standing on that axis's
// base line with a height of value x valueScale (truncated).
ColumnRect ColumnRectFor(const ChartGeometry& geometry, ScanAxis axis, std::size_t index, std::int32_t value);

// The frame's threshold for the scan: straight for Middle, oblique otherwise. A Value reading is
// healthy at twice the threshold or more.
std::int32_t ValueThreshold(ScanDirection direction, const DeviceInfo& info);
bool IsHealthyValue(std::int32_t value, std::int32_t threshold);

// The column numbers written under both base lines: 10, 30, 50, ... up to the longer side's count;
// each is drawn at x = columnWidth x (n - 1).
std::vector<std::int32_t> ColumnNumbers(const DeviceInfo& info);

}  // namespace zorvane
