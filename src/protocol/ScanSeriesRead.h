#pragma once

#include "DeviceProtocol.h"

#include <cstdint>
#include <vector>

namespace zorvane {

// One value per receiver in the frame's order; each value read is one unsigned byte, 0..255.
using ScanSeries = std::vector<std::int32_t>;

// Reads the series that `selector` names in chunks of at most 55 values, pausing 3 ms before each.
// `requestedCount` is read again before every chunk, so the caller may change it during the read.
// The series is emptied first and keeps what arrived when the read ends early: a failed chunk
// returns its LinkStatus, a reply with a code other than 0x81 ends the read with 0. A chunk shorter
// than asked leaves the series short; later chunks still start where they were planned to.
LinkStatus ReadScanSeries(DeviceProtocol& protocol, std::uint8_t selector, ScanSeries& series,
                          const std::int32_t& requestedCount);

}  // namespace zorvane
