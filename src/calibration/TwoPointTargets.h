#pragma once

#include "calibration/ScreenGeometry.h"

#include <optional>

namespace zorvane {

enum class TwoPointTarget { TopLeft, BottomRight };

// Target centres sit 150 pixels in from two opposite corners of the display.
ScreenPoint TargetCentre(TwoPointTarget target, ScreenSize screen);

// The target whose capture zone (100 pixels around the centre, bounds excluded) holds the point;
// the top-left zone is tested first.
std::optional<TwoPointTarget> TwoPointZoneAt(ScreenSize screen, ScreenPoint point);

// The 300 x 300 corner square that holds a target and its rings.
ScreenRect RepaintArea(TwoPointTarget target, ScreenSize screen);

TargetCross CrossOf(TwoPointTarget target, ScreenSize screen);

// The rings drawn around the active target: their count runs 0..5 and wraps every 150 ms step.
int NextRingCount(int ringCount);
int RingRadius(int ring);

}  // namespace zorvane
