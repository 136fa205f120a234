#pragma once

#include <functional>

namespace zorvane {

// What the main window asks of the pages that plug into its slots (the column charts, the advanced page
// with its firmware sub-page). Each page sets its hooks when the main window creates it; a hook that is
// not set yet does nothing.
struct PageHooks {
    std::function<void()> stopAcquisition;         // the selection panel's stop routine: every page switch
    std::function<void()> startAcquisition;        // the selection panel's start handler (Alt+D)
    std::function<void()> requestChartInitialise;  // raises the chart view's initialiseRequested (Alt+S)
    std::function<void()> runDrawingTest;          // the selection panel's draw handler (Alt+A)
    std::function<void(int)> showAdvancedSubPage;  // the advanced page's ShowSubPage
    std::function<void()> startFirmwareUpdate;     // the firmware sub-page's start operation (Alt+X)
    std::function<void()> browseFirmware;          // the firmware sub-page's browse operation (Alt+Z)
    // Ends the chart worker and returns once it has left its loop; the first step of every close.
    std::function<void()> stopChartWorker;
};

}  // namespace zorvane
