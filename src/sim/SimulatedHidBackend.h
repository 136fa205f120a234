#pragma once

#include "link/HidBackend.h"
#include "sim/Fault.h"
#include "sim/FrameEndpoint.h"
#include "sim/SimulatedFrame.h"
#include "sim/SimulatedHidHandle.h"

#include <array>
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

namespace zorvane {

// The HID facility of a machine with one simulated frame plugged in, plus an unrelated keyboard.
// The frame is one hidraw node with three top-level collections; only the third takes command
// reports. Faults, unplugging and unsolicited reports are injected from tests. Thread-safe.
class SimulatedHidBackend : public HidBackend {
public:
    static constexpr const char* kCommandPath = "/dev/hidraw0&col03";
    static constexpr std::array<const char*, 3> kFramePaths = {"/dev/hidraw0&col01", "/dev/hidraw0&col02",
                                                               kCommandPath};
    static constexpr const char* kUnrelatedPath = "/dev/hidraw1";
    static constexpr HidAttributes kUnrelatedAttributes{.vendorId = 0x2B1D, .productId = 0x0104, .versionNumber = 0x0110};

    explicit SimulatedHidBackend(std::shared_ptr<SimulatedFrame> frame = std::make_shared<SimulatedFrame>());

    std::vector<std::string> ListInterfaces() override;
    std::optional<HidAttributes> GetAttributes(const std::string& path) override;
    std::shared_ptr<HidHandle> Open(const std::string& path) override;

    SimulatedFrame& frame() const { return *frame_; }

    // Faults on the requests written to the command collection (see FrameEndpoint).
    void FailNext(const Fault& fault, int requests = 1) { endpoint_->FailNext(fault, requests); }
    void FailAll(const Fault& fault) { endpoint_->FailAll(fault); }
    void ClearFaults() { endpoint_->ClearFaults(); }
    void SetReplyLatency(std::chrono::milliseconds latency) { endpoint_->SetReplyLatency(latency); }
    std::vector<Report> ReceivedRequests() const { return endpoint_->ReceivedRequests(); }

    // The frame's interfaces vanish and every handle open on them dies for good. Device removal
    // notices, once there are any, start here and in Replug.
    void Unplug();
    // The frame is back; handles opened before the unplug stay dead.
    void Replug();
    // While set, opening any of the frame's interfaces fails.
    void SetOpenFails(bool fails);
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

private:
    static bool IsFramePath(const std::string& path);
    std::vector<std::shared_ptr<SimulatedHidHandle>> LiveHandles() const;  // lock_ held

    const std::shared_ptr<SimulatedFrame> frame_;
    const std::shared_ptr<FrameEndpoint> endpoint_;
    mutable std::mutex lock_;
    bool plugged_ = true;
    bool openFails_ = false;
    std::vector<std::weak_ptr<SimulatedHidHandle>> frameHandles_;
};

}  // namespace zorvane
