#pragma once

#include "protocol/DeviceInfo.h"
#include "protocol/ScanSeriesRead.h"
#include "signal/ScanDirection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorvane {

// A receiver whose Value reading lies below twice its scan's threshold: a red column of the chart.
struct WeakReceiver {
    ScanAxis axis = ScanAxis::X;
    std::int32_t number = 0;  // 1-based, as the chart's columns count
    std::int32_t value = 0;
    std::string position;     // boards and positions by the cursor label's rule

    bool operator==(const WeakReceiver&) const = default;
};

// The weak receivers of one acquisition of `direction`, X before Y, each axis in receiver order. In an
// oblique scan a reading of exactly 2 is the frame's mark of a receiver without a partner, not a
// weak one, and is left out.
std::vector<WeakReceiver> FindWeakReceivers(ScanDirection direction, const ScanSeries& xValues,
                                            const ScanSeries& yValues, const DeviceInfo& info);

}  // namespace zorvane
