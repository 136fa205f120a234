#pragma once

#include <array>
#include <cstdint>

namespace zorvane {

// Identifies the frame size a record belongs to: "<x receivers>-<y receivers>", NUL-terminated
// UTF-16 as stored in calibration data files.
using CalibrationDeviceId = std::array<char16_t, 16>;

// The frame's edges in its own coordinates. Values read from the frame lie in 0..65535; a value
// written to it is sent modulo 65536.
struct TwoPointCalibration {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    CalibrationDeviceId deviceId{};

    bool operator==(const TwoPointCalibration&) const = default;
};

// Nine points, x then y, in the order the frame sends them.
struct NinePointCalibration {
    std::array<std::int32_t, 18> values{};
    CalibrationDeviceId deviceId{};

    bool operator==(const NinePointCalibration&) const = default;
};

}  // namespace zorvane
