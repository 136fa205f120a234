#pragma once

#include "link/DeviceNotices.h"
#include "platform/linux/HidrawPathBook.h"

#include <memory>
#include <mutex>

class QSocketNotifier;

namespace zorvane {

// Hot-plug notices of hidraw nodes from udev, one per interface path (see InterfacePathsOf). Listens on
// the event loop of the thread that creates it and calls the handler on that thread. Where udev cannot be
// reached it stays silent.
class UdevMonitor final : public DeviceNoticeSource {
public:
    UdevMonitor();
    ~UdevMonitor() override;
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    void SetHandler(Handler handler) override;

private:
    struct Connection;

    void RememberPresentNodes();
    void Receive();
    void Notify(DeviceNotice::Kind kind, const std::vector<std::string>& paths);

    std::unique_ptr<Connection> connection_;
    std::unique_ptr<QSocketNotifier> notifier_;
    HidrawPathBook book_;
    std::mutex handlerLock_;
    Handler handler_;
};

}  // namespace zorvane
