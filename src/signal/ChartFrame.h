#pragma once

#include "protocol/DeviceInfo.h"
#include "signal/ChartGeometry.h"
#include "signal/CursorColumn.h"
#include "signal/ScanData.h"
#include "signal/ScanSelection.h"

#include <string>

namespace zorvane {

// Everything one drawn frame of a chart shows, copied out at one moment.
struct ChartFrame {
    ChartGeometry geometry;
    ScanData data;
    ScanSelection selection;  // which series to draw, and the direction for the Value colours
    DeviceInfo info;          // the charts' identification: column numbers, parameters, thresholds
    bool cursorModeOn = false;
    CursorColumn cursor;
    std::string cursorLabel;  // empty unless the cursor mode is on and a column is under the mouse
};

}  // namespace zorvane
