#pragma once

#include "protocol/DeviceInfo.h"
#include "protocol/ScanSeriesRead.h"
#include "signal/CursorColumn.h"
#include "signal/ScanDirection.h"

#include <string>

namespace zorvane {

// The first firmware version (by ChartVersion) whose board lists the cursor label can trust.
inline constexpr int kRealBoardsVersion = 4110;

// Names the emitter (S) and receiver (R) boards of the cursor column, e.g.
// "S(Baord02-06)->R(Board02-06)" (the first word is spelled so on purpose: technicians know it).
// Older firmware: boards of 64 receivers; the emitter is k positions after (Forward) or before
// (Behind) the receiver, where k counts the cursor axis's Value readings that are exactly 2, the
// frame's mark of a receiver without an oblique partner. Newer firmware: the real board sizes, the
// same board on both sides. Empty when no column is under the cursor or for an unknown direction.
std::string DescribeCursorPosition(CursorColumn cursor, ScanDirection direction, const ScanSeries& cursorAxisValue,
                                   const DeviceInfo& info);

}  // namespace zorvane
