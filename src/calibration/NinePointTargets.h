#pragma once

#include "calibration/ScreenGeometry.h"

#include <array>
#include <optional>

namespace zorvane {

// Where the nine targets of the nine-point screen are for one display size. Targets are indexed in
// the order the marker walks them: 0 top-left, 1 top-middle, 2 top-right, 3 middle-right,
// 4 bottom-right, 5 bottom-middle, 6 bottom-left, 7 middle-left, 8 centre. Indices outside 0..8 are
// not valid arguments.
class NinePointLayout {
public:
    static constexpr int kTargetCount = 9;
    static constexpr int kCentreTarget = 8;

    explicit NinePointLayout(ScreenSize screen);

    // The target's direction from the display centre, each component -1, 0 or 1.
    static ScreenVector Direction(int target);

    ScreenPoint Centre(int target) const;
    // Every target's centre in index order.
    std::array<ScreenPoint, kTargetCount> Centres() const;
    // Bounds included; zones overlap on narrow displays.
    ScreenRect CaptureZone(int target) const;
    // The first target in index order whose zone holds the point.
    std::optional<int> ZoneAt(ScreenPoint point) const;
    // Bounds the blinking marker; also the area the animation repaints.
    ScreenRect MarkerSquare(int target) const;
    TargetCross CrossOf(int target) const;

private:
    ScreenSize screen_;
    int c_;  // horizontal inset of the outer targets
    int d_;  // vertical inset of the outer targets
};

}  // namespace zorvane
