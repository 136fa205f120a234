#pragma once

#include "link/HidBackend.h"
#include "link/Report.h"
#include "sim/FrameState.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

namespace zorvane {

// A model of a touch frame's normal firmware: it answers each command report with the reports a
// real frame would send back, computed from its current state. Thread-safe.
class SimulatedFrame {
public:
    // Status code of the reply to a command this frame does not know.
    static constexpr std::uint8_t kStatusUnsupported = 0x83;
    // Status code of the reply to a command whose parameter this frame cannot take; nothing changes.
    static constexpr std::uint8_t kStatusRejected = 0x82;
    static constexpr std::uint8_t kPenTrayReportCode = 0xAC;

    explicit SimulatedFrame(FrameState state = {});

    // The reports the frame sends back for one request: none, one, or (for later commands) several.
    std::vector<Report> Answer(const Report& request);

    FrameState state() const;
    void SetState(FrameState state);
    HidAttributes usbAttributes() const;

    // The unsolicited report the frame sends when a pen is taken from or put into its tray: one
    // state byte per slot.
    static Report PenTrayReport(const std::array<std::uint8_t, 6>& slots);
    // A reply that names the request's command and sub-command in bytes 5 and 6, with `status` in byte 2.
    static Report StatusReplyTo(const Report& request, std::uint8_t status);

private:
    mutable std::mutex lock_;
    FrameState state_;
};

}  // namespace zorvane
