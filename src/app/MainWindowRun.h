#pragma once

#include "app/AppPlatform.h"
#include "app/CZorvaneTestDlg.h"
#include "widgets/ScreenOfWindow.h"

#include <memory>

namespace zorvane {

// The main window on a platform, initialised (pages created, the frame detected twice) and receiving the
// platform's device notices on the UI thread, whichever thread the source speaks on; the platform
// hears of the main window's screen from then on. Not shown yet. Needs a QApplication; the link
// platform is set here, so one per process.
class MainWindowRun {
public:
    explicit MainWindowRun(const AppPlatform& platform);
    ~MainWindowRun();
    MainWindowRun(const MainWindowRun&) = delete;
    MainWindowRun& operator=(const MainWindowRun&) = delete;

    CZorvaneTestDlg& window() { return *window_; }

private:
    std::unique_ptr<CZorvaneTestDlg> window_;
    std::shared_ptr<DeviceNoticeSource> notices_;
    std::unique_ptr<ScreenOfWindow> screen_;  // after window_: it watches the window
};

}  // namespace zorvane
