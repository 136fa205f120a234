#pragma once

#include "signal/ScanDirection.h"

#include <cstdint>

namespace zorvane {

// The three quantities the frame reports per receiver; the value is the selector base.
enum class SeriesKind : std::uint8_t { Value = 0, Standard = 6, Power = 12 };

// The byte that names one series in a signal read: base + 2 x direction + axis (0..17).
constexpr std::uint8_t ScanSelector(SeriesKind kind, ScanDirection direction, ScanAxis axis)
{
    return static_cast<std::uint8_t>(static_cast<int>(kind) + 2 * static_cast<int>(direction) +
                                     static_cast<int>(axis));
}

}  // namespace zorvane
