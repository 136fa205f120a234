#pragma once

#include "link/DeviceNotices.h"
#include "link/HidBackend.h"
#include "sim/DelayedCall.h"
#include "sim/Fault.h"
#include "sim/FrameEndpoint.h"
#include "sim/SimulatedFrame.h"
#include "sim/SimulatedHidHandle.h"

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zorvane {

// The HID facility of a machine with one simulated frame plugged in, plus an unrelated keyboard.
// The frame's normal firmware is one hidraw node with three top-level collections, of which only
// the third takes command reports; its bootloader is a node of its own with one collection. When
// the frame restarts into the other personality, its interfaces vanish at once (open handles die,
// as on an unplug) and the other personality's appear after the re-enumeration delay. Faults,
// unplugging and unsolicited reports are injected from tests, on either personality. Thread-safe.
class SimulatedHidBackend : public HidBackend, public DeviceNoticeSource {
public:
    static constexpr const char* kCommandPath = "/dev/hidraw0&col03";
    static constexpr std::array<const char*, 3> kFramePaths = {"/dev/hidraw0&col01", "/dev/hidraw0&col02",
                                                               kCommandPath};
    static constexpr const char* kUnrelatedPath = "/dev/hidraw1";
    static constexpr HidAttributes kUnrelatedAttributes{.vendorId = 0x2B1D, .productId = 0x0104, .versionNumber = 0x0110};
    static constexpr const char* kBootloaderPath = "/dev/hidraw2";
    // About what a real frame takes to come back on the bus as the other personality.
    static constexpr std::chrono::milliseconds kDefaultReenumerationDelay{300};

    explicit SimulatedHidBackend(std::shared_ptr<SimulatedFrame> frame = std::make_shared<SimulatedFrame>());
    ~SimulatedHidBackend() override;

    std::vector<std::string> ListInterfaces() override;
    std::optional<HidAttributes> GetAttributes(const std::string& path) override;
    OpenResult Open(const std::string& path) override;

    SimulatedFrame& frame() const { return *frame_; }

    // Faults on the requests written to the command collection or the bootloader (see FrameEndpoint).
    void FailNext(const Fault& fault, int requests = 1) { endpoint_->FailNext(fault, requests); }
    void FailAll(const Fault& fault) { endpoint_->FailAll(fault); }
    void ClearFaults() { endpoint_->ClearFaults(); }
    void SetReplyLatency(std::chrono::milliseconds latency) { endpoint_->SetReplyLatency(latency); }
    std::vector<Report> ReceivedRequests() const { return endpoint_->ReceivedRequests(); }
    void WatchRequests(std::function<void(const Report&)> watcher) { endpoint_->WatchRequests(std::move(watcher)); }

    // The frame's interfaces vanish and every handle open on them dies for good.
    void Unplug();
    // The frame is back, powered up afresh as whatever it ran (SimulatedFrame::PowerCycle); handles
    // opened before the unplug stay dead. Nothing happens while it is plugged in.
    void Replug();
    // How long after a restart the frame's new interfaces appear; zero brings them at once.
    void SetReenumerationDelay(std::chrono::milliseconds delay);
    // While set, opening any of the frame's interfaces fails.
    void SetOpenFails(bool fails);
    // While set, opening any of the frame's interfaces is refused as to a user without access to them.
    void SetAccessDenied(bool denied);
    // An unsolicited report (e.g. a pen-tray report) to every open handle of the command collection;
    // false when none is open.
    bool SendInputReport(const Report& report, std::size_t length = kReportSize);
    // The frame's pen-tray report with these six slot state bytes, as SendInputReport sends it.
    bool SendPenTray(const std::array<std::uint8_t, 6>& slots)
    {
        return SendInputReport(SimulatedFrame::PenTrayReport(slots));
    }
    // Handles on the frame's interfaces that have not been closed (dead ones included).
    std::size_t OpenHandleCount() const;

    // Arrival and removal notices, one per interface path, as udev would send them.
    void SetHandler(Handler handler) override;

private:
    std::vector<std::string> PresentPaths() const;  // lock_ held
    std::vector<std::shared_ptr<SimulatedHidHandle>> LiveHandles() const;  // lock_ held
    // The frame restarted as `personality`: off the bus now, back after the re-enumeration delay.
    void Restart(Personality personality);
    void Arrive(Personality personality);
    // The only two places where the frame's interfaces come and go; each returns the notices that
    // its change makes, which the caller sends once lock_ is released.
    std::vector<DeviceNotice> AddInterfaces(Personality personality);  // lock_ held
    std::vector<DeviceNotice> RemoveInterfaces();  // lock_ held
    std::vector<DeviceNotice> NoticesForPresentPaths(DeviceNotice::Kind kind) const;  // lock_ held
    void Announce(const std::vector<DeviceNotice>& notices);

    const std::shared_ptr<SimulatedFrame> frame_;
    const std::shared_ptr<FrameEndpoint> endpoint_;
    mutable std::mutex lock_;
    bool plugged_ = true;
    std::optional<Personality> present_;  // what the bus shows; nothing while re-enumerating
    bool openFails_ = false;
    bool accessDenied_ = false;
    std::chrono::milliseconds reenumerationDelay_ = kDefaultReenumerationDelay;
    std::vector<std::weak_ptr<SimulatedHidHandle>> frameHandles_;

    std::mutex noticeLock_;  // held while the handler runs, so a replaced handler is never called again
    Handler noticeHandler_;  // guarded by noticeLock_

    std::mutex arrivalLock_;  // serialises restarts
    std::unique_ptr<DelayedCall> arrival_;  // guarded by arrivalLock_
};

}  // namespace zorvane
