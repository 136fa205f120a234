#include "app/MainWindowRun.h"

#include <QMetaObject>

namespace zorvane {

MainWindowRun::MainWindowRun(const AppPlatform& platform)
{
    SetLinkPlatformFactory(platform.link);
    window_ = std::make_unique<CZorvaneTestDlg>();
    window_->SetTargetPointer(platform.targetPointer);
    window_->SetDrawingPointer(platform.drawingPointer);
    window_->SetSimulationButtonShown(platform.simulationButton);
    window_->OnInitDialog();
    if (platform.mainScreenSize)
        screen_ = std::make_unique<ScreenOfWindow>(*window_, platform.mainScreenSize);
    notices_ = platform.notices ? platform.notices() : nullptr;
    if (!notices_)
        return;
    CZorvaneTestDlg* window = window_.get();
    notices_->SetHandler([window](const DeviceNotice& notice) {
        // Queued even on the UI thread: a notice never runs a detection inside the source's own call.
        QMetaObject::invokeMethod(window, [window, notice] { window->OnDeviceChange(notice); }, Qt::QueuedConnection);
    });
}

MainWindowRun::~MainWindowRun()
{
    // No notice may be queued for the window once it starts going.
    if (notices_)
        notices_->SetHandler({});
}

}  // namespace zorvane
