#pragma once

#include "calibration/ScreenGeometry.h"

namespace zorvane {

// Top-left corners of the two 152 x 52 buttons of a target screen, either side of the display centre.
struct TargetScreenButtons {
    ScreenPoint exit;   // 1008 "退出"
    ScreenPoint reset;  // 1007 "重置"

    bool operator==(const TargetScreenButtons&) const = default;
};

TargetScreenButtons TwoPointScreenButtons(ScreenSize screen);
// 150 pixels lower, clear of the centre target.
TargetScreenButtons NinePointScreenButtons(ScreenSize screen);

}  // namespace zorvane
