#pragma once

#include "protocol/DeviceInfo.h"
#include "signal/AcquisitionRequests.h"
#include "signal/ChartFrame.h"
#include "signal/ChartGeometry.h"
#include "signal/CursorColumn.h"
#include "signal/ExitRequest.h"
#include "signal/ScanData.h"

#include <atomic>
#include <mutex>

namespace zorvane {

// The window-free half of one chart view: its series, its acquisition requests, its geometry and
// its cursor column. A chart view owns one and a ChartWorker runs its cycles. The interface thread
// and the worker may use every member function at the same time: state the worker writes is
// published under a lock and read as copies.
class ScanChart {
public:
    AcquisitionRequests& requests() { return requests_; }
    ExitRequest& exitRequest() { return exit_; }

    // Interface thread.
    void Layout(std::int32_t width, std::int32_t height);
    // Column width, scale set and caption from the frame's identification.
    void PrepareGeometry(const DeviceInfo& info);
    // Mouse moved to client point (x, y): while the cursor mode is on, follow the column under it.
    void TrackCursor(std::int32_t x, std::int32_t y);
    // Right double-click: the cursor mode (shared by all charts) flips and no column is selected
    // until the mouse moves over one.
    void ToggleCursorMode();

    ChartGeometry geometry() const;
    ScanData data() const;
    CursorColumn cursor() const { return cursor_.load(); }
    // What the next frame shows, with the process-wide selection, identification and cursor mode.
    ChartFrame Frame() const;

    // Worker: replaces the series the chart shows.
    void Publish(ScanData data);

private:
    ExitRequest exit_;
    AcquisitionRequests requests_{exit_};
    std::atomic<CursorColumn> cursor_{};
    mutable std::mutex lock_;
    ChartGeometry geometry_;
    ScanData data_;
};

}  // namespace zorvane
