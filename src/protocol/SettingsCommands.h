#pragma once

#include "DeviceProtocol.h"

#include <cstdint>

namespace zorvane {

// The frame's orientation and touch-mode queries. Each sends one command (time-out 400 ms) and
// returns its LinkStatus; they differ in when they write the caller's variable.

// The touch mode (1 "Mouse", 2 "Touch", 3 "Muli-Touch"); `mode` is written only on success.
LinkStatus QueryTouchMode(DeviceProtocol& protocol, std::int32_t& mode);
// The rotation index 0..3 (0°, 90°, 180°, 270°); written always, so 0 after a failure.
LinkStatus QueryRotation(DeviceProtocol& protocol, std::int32_t& rotation);
// The reverse-mounting flag; written always: 0 after a failure and when the frame answers that it
// does not support the flag (status 0x83).
LinkStatus QueryReverse(DeviceProtocol& protocol, std::int32_t& reversed);

}  // namespace zorvane
