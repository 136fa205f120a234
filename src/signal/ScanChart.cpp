#include "signal/ScanChart.h"

#include "signal/ChartInfo.h"
#include "signal/CursorLabel.h"
#include "signal/CursorMode.h"
#include "signal/ScanSelection.h"

namespace zorvane {

void ScanChart::Layout(std::int32_t width, std::int32_t height)
{
    std::lock_guard guard(lock_);
    LayoutChart(geometry_, width, height);
}

void ScanChart::PrepareGeometry(const DeviceInfo& info)
{
    std::lock_guard guard(lock_);
    PrepareChartGeometry(geometry_, info);
}

void ScanChart::TrackCursor(std::int32_t x, std::int32_t y)
{
    if (!cursorMode())
        return;
    const ChartGeometry layout = geometry();
    if (layout.columnWidth == 0)
        return;
    cursor_ = zorvane::TrackCursor(cursor_.load(), x, y, layout, chartInfo().get());
}

void ScanChart::ToggleCursorMode()
{
    cursor_ = CursorColumn{cursor_.load().axis, 0};
    // A worker may switch the mode off meanwhile; flip whatever it is now.
    std::atomic<bool>& mode = cursorMode();
    bool on = mode.load();
    while (!mode.compare_exchange_weak(on, !on)) {
    }
}

ChartGeometry ScanChart::geometry() const
{
    std::lock_guard guard(lock_);
    return geometry_;
}

ScanData ScanChart::data() const
{
    std::lock_guard guard(lock_);
    return data_;
}

ChartFrame ScanChart::Frame() const
{
    ChartFrame frame;
    {
        std::lock_guard guard(lock_);
        frame.geometry = geometry_;
        frame.data = data_;
    }
    frame.selection = CurrentScanSelection();
    frame.info = chartInfo().get();
    frame.cursorModeOn = cursorMode();
    frame.cursor = cursor_.load();
    if (frame.cursorModeOn)
        frame.cursorLabel = DescribeCursorPosition(frame.cursor, frame.selection.direction,
                                                   frame.data.value(frame.cursor.axis), frame.info);
    return frame;
}

void ScanChart::Publish(ScanData data)
{
    std::lock_guard guard(lock_);
    data_ = std::move(data);
}

}  // namespace zorvane
