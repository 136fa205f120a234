#pragma once

#include "protocol/DeviceInfo.h"
#include "signal/ScaleSet.h"

#include <array>
#include <cstdint>
#include <string>

namespace zorvane {

// Where a chart draws: the X side in the upper half above `xBaseline`, the Y side in the lower half
// above `yBaseline`, one column per receiver, value 256 spanning H/2 - 36 pixels.
struct ChartGeometry {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t xBaseline = 0;
    std::int32_t yBaseline = 0;
    float valueScale = 0;  // pixels per value unit
    std::int32_t columnWidth = 0;
    std::array<std::int32_t, 6> gridY{};      // three lines in the X half, then three in the Y half
    std::array<std::string, 3> gridLabels{};  // empty until the chart is prepared
    std::string captionText;                  // empty until the chart is prepared

    bool operator==(const ChartGeometry&) const = default;
};

// Sizes the chart to W x H with the set-A grid; column width, labels and caption are left alone.
void LayoutChart(ChartGeometry& geometry, std::int32_t width, std::int32_t height);
// Recomputes the grid lines of both halves for `scale`.
void PlaceGridLines(ChartGeometry& geometry, const ScaleSet& scale);
// What a start needs of the frame's identification: the column width from the longer side, the
// scale set of its firmware version with its labels, and the caption.
void PrepareChartGeometry(ChartGeometry& geometry, const DeviceInfo& info);

}  // namespace zorvane
