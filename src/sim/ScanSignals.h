#pragma once

#include "sim/FrameState.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zorvane {

// The readings of receivers first .. first + count - 1 of the series that `selector` names (base +
// 2 x direction + axis; base 0 Value, 6 Standard, 12 Power; direction 0 forward, 1 middle, 2
// behind; axis 0 X, 1 Y), cut off at that side's receiver count. Value readings draw on the noise
// generator in `state`, so no two reads are alike. Nothing for a selector outside 0..17.
std::optional<std::vector<std::uint8_t>> ReadReceivers(FrameState& state, std::uint8_t selector, int first, int count);

}  // namespace zorvane
