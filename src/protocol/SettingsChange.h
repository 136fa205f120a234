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

// One setting change, one command (time-out 400 ms): the frame accepted it when the result is 0;
// the reply carries nothing else.
LinkStatus ChangeRotation(DeviceProtocol& protocol, Rotation rotation);
LinkStatus ChangeReverse(DeviceProtocol& protocol, bool reversed);
LinkStatus ChangeTouchMode(DeviceProtocol& protocol, TouchMode mode);

int RotationDegrees(Rotation rotation);

}  // namespace zorvane
