#pragma once

#include "link/HidBackend.h"
#include "link/Report.h"
#include "sim/FrameState.h"
#include "sim/TouchModel.h"

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace zorvane {

// A model of a touch frame: it answers each command report with the reports a real frame would send
// back, computed from its current state. It runs either its normal firmware or its bootloader, and
// restarts from one into the other on EnterBootloader and on a successful BootloaderFinish; a
// restart loses what the frame holds only in RAM (FrameState::Restart). Thread-safe.
//
// The bootloader answers BootloaderProbe; takes BootloaderBegin (r[5] = 1) only for images whose
// target bytes are its own, and remembers the checksum; takes data packets whose index follows on
// (modulo 256) with 56 payload bytes; and on BootloaderFinish checks the payload sum against the
// checksum, installs the firmware and restarts into it. A bootloader has no answer the host could
// read as "no" to the last three, so a packet out of turn or before a begin, and a finish that
// fails its check or comes before a begin, get no reply at all; a failed finish drops the transfer
// and the frame stays in its bootloader.
class SimulatedFrame {
public:
    // Status code of the reply to a command this frame does not know.
    static constexpr std::uint8_t kStatusUnsupported = 0x83;
    // Status code of the reply to a command whose parameter this frame cannot take; nothing changes.
    // Unlike every reply code of an accepted command (its sub-command + 0x80), so a host can tell.
    static constexpr std::uint8_t kStatusRejected = 0xE0;
    // Status code of the reply to a signal read while scan mode is off: the frame has no series to
    // give. A status reply names the command it answers, so the host takes it as the answer at once
    // (silence would cost it the read's time-out, twice, and the open handle), and its code is not
    // the chunk reply code 0x81, so the host ends the series there without a failure.
    static constexpr std::uint8_t kStatusNotScanning = 0xE1;
    static constexpr std::uint8_t kPenTrayReportCode = 0xAC;

    explicit SimulatedFrame(FrameState state = {});

    // The reports the frame sends back for one request: none, one, or (for later commands) several.
    std::vector<Report> Answer(const Report& request);

    FrameState state() const;
    // Takes `state` as it is. When it runs the other personality the USB side re-enumerates, as after
    // a restart; what a restart would lose is the caller's to leave out.
    void SetState(FrameState state);
    // Power lost and back, as a re-plug does: a restart into what the frame ran (a bootloader that has
    // not finished has no whole firmware to start). The restart listener is not called: the USB side
    // caused it.
    void PowerCycle();
    // The display the bezel lies on now has this size (another resolution, or the target screens
    // moved to another screen); the rest of its mounting stays as it is.
    void SetDisplay(ScreenSize display);
    // The bezel as delivered for a display of this size instead (DeliverForDisplay): what the demo
    // lies on the screen it runs on, so that its target screens can calibrate it.
    void DeliverFor(ScreenSize display);
    Personality running() const;
    // The normal firmware's USB attributes.
    HidAttributes usbAttributes() const;
    HidAttributes bootloaderAttributes() const;
    // Called after each restart with what the frame now runs, on the thread that caused it and
    // outside the frame's lock; the USB side re-enumerates from there.
    void SetRestartListener(std::function<void(Personality)> listener);

    // Where the system pointer lands for a finger resting at `finger`, through the record the frame
    // applies now (a written record counts from the next touch on), its settings and its mounting.
    // Nothing unless the frame moves the pointer (touch mode 1, see ReportedPointer), nor for a finger
    // off the display.
    std::optional<ScreenPoint> ReportTouch(FingerPosition finger) const;

    // The unsolicited report the frame sends when a pen is taken from or put into its tray: one
    // state byte per slot.
    static Report PenTrayReport(const std::array<std::uint8_t, 6>& slots);
    // A reply that names the request's command and sub-command in bytes 5 and 6, with `status` in byte 2.
    static Report StatusReplyTo(const Report& request, std::uint8_t status);

private:
    mutable std::mutex lock_;
    FrameState state_;
    std::function<void(Personality)> restartListener_;
};

}  // namespace zorvane
