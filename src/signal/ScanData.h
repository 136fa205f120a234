#pragma once

#include "protocol/ScanSeriesRead.h"
#include "signal/ScanDirection.h"

namespace zorvane {

// The eight series one chart shows, X and Y of each quantity; all empty until read.
struct ScanData {
    ScanSeries xValue, yValue;
    ScanSeries xFluctuation, yFluctuation;
    ScanSeries xPower, yPower;
    ScanSeries xStandard, yStandard;

    const ScanSeries& value(ScanAxis axis) const { return axis == ScanAxis::X ? xValue : yValue; }

    bool operator==(const ScanData&) const = default;
};

}  // namespace zorvane
