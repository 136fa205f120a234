#pragma once

#include <cstdint>

namespace zorvane {

// Adds a correction to a calibration value. The frame takes every value modulo 65536, so the sum
// wraps in 32 bits instead of overflowing however long a correction loop runs.
inline std::int32_t AddToRecordValue(std::int32_t value, int delta)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + static_cast<std::uint32_t>(delta));
}

}  // namespace zorvane
