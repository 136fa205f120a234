#pragma once

#include "CommandTable.h"
#include "DeviceProtocol.h"

#include <cstdint>

namespace zorvane {

// The device setup page without its window: the frame's rotation, reverse-mounting flag and touch mode
// as the page shows them, and whether a change is kept or undone. Every operation runs its transactions
// through `protocol` on the caller's thread.
//
// Rotation and touch mode each keep the value the frame last reported or accepted beside the button
// the page selects; a change the frame does not take brings the selection back to that value. The
// reverse flag has no such copy: a change not taken restores the state before the click. A value read
// outside a group's range selects no button of it. A read that fails gives 0° and no reverse (their
// replies read as zero) and keeps the last known touch mode.
class DeviceSetupModel {
public:
    static constexpr int kRotationCount = 4;  // buttons 0°, 90°, 180°, 270°
    static constexpr int kModeCount = 3;      // buttons Mouse, Touch, Muli-Touch: touch modes 1..3

    explicit DeviceSetupModel(DeviceProtocol& protocol) : protocol_(protocol) {}

    void ReadSettings();
    // A click on rotation button `rotation`, whether or not it was selected: sent again all the same.
    void ApplyRotation(int rotation);
    // A click on the reverse box, which now shows `reversed`.
    void ApplyReverse(bool reversed);
    // A click on mode button `mode`.
    void ApplyTouchMode(int mode);

    // The selected buttons; outside 0..kRotationCount - 1 and 0..kModeCount - 1 none is.
    int rotation() const { return rotation_; }
    int mode() const { return mode_; }
    bool reversed() const { return reverse_ != 0; }
    // As last reported or accepted: rotation index, touch mode.
    int deviceRotation() const { return deviceRotation_; }
    int deviceMode() const { return deviceMode_; }

private:
    DeviceProtocol& protocol_;
    std::int32_t reverse_ = 0;
    std::int32_t deviceRotation_ = 0;
    std::int32_t rotation_ = 0;
    std::int32_t deviceMode_ = touch_mode::kMouse;
    std::int32_t mode_ = 0;
};

}  // namespace zorvane
