#pragma once

#include "protocol/DeviceProtocol.h"

#include <mutex>

namespace zorvane {

// The identification the charts draw from: sizes, caption, thresholds, parameters, cursor boards.
// Refreshed on the interface thread, read by the chart workers; every access copies under a lock.
class ChartInfo {
public:
    DeviceInfo get() const;
    void set(const DeviceInfo& info);
    // Queries the frame into this record. Like any query, a failure leaves the fields of the steps
    // that succeeded updated.
    LinkStatus Refresh(DeviceProtocol& protocol);

private:
    mutable std::mutex lock_;
    DeviceInfo info_;
};

// The process-wide record, created on first use.
ChartInfo& chartInfo();

}  // namespace zorvane
