#pragma once

#include "DeviceProtocol.h"

#include <cstdint>
#include <string_view>

namespace zorvane {

// The frame's rotation of its reported coordinates, by the index the frame stores.
enum class Rotation : std::uint8_t { Deg0 = 0, Deg90 = 1, Deg180 = 2, Deg270 = 3 };
// The touch modes a technician may choose; the scan-mode values of the same command are not among them.
enum class TouchMode : std::uint8_t { Mouse = 1, Touch = 2, MultiTouch = 3 };

// The three settings as the frame reports them, each by its query's own rule (a failed rotation or
// reverse query reads 0, a failed touch-mode query keeps the value given).
struct FrameSettings {
    std::int32_t rotation = 0;
    std::int32_t reversed = 0;
    std::int32_t touchMode = static_cast<std::int32_t>(TouchMode::Mouse);

    bool operator==(const FrameSettings&) const = default;
};

// Runs all three queries and returns the first failure, or 0.
LinkStatus ReadFrameSettings(DeviceProtocol& protocol, FrameSettings& settings);

// How the frame answered one setting change. A frame that cannot take a value answers with a status
// reply, which completes the transaction like any answer: only the reply code, the command's own
// (the command repeated with its reply code) for a change the frame took, tells the two apart.
struct SettingAnswer {
    LinkStatus status = link_status::kOk;
    std::uint8_t replyCode = 0;  // reply byte 2; meaningful when status is 0
    bool refused = false;        // answered, but not with the command's own reply code

    bool accepted() const { return status == link_status::kOk && !refused; }
};

// One setting change, one command (time-out 400 ms).
SettingAnswer ChangeSetting(DeviceProtocol& protocol, const Command& command);
SettingAnswer ChangeRotation(DeviceProtocol& protocol, Rotation rotation);
SettingAnswer ChangeReverse(DeviceProtocol& protocol, bool reversed);
SettingAnswer ChangeTouchMode(DeviceProtocol& protocol, TouchMode mode);

int RotationDegrees(Rotation rotation);

}  // namespace zorvane
