#include "calibration/OrientationMap.h"

namespace zorvane {

std::optional<FrameVector> OrientationMap(Orientation orientation, ScreenVector screen)
{
    const int a = screen.x;
    const int b = screen.y;
    const bool reversed = orientation.reversed == 1;
    switch (orientation.rotation) {
    case 0:
        return reversed ? FrameVector{-a, b} : FrameVector{a, b};
    case 1:
        return reversed ? FrameVector{-b, -a} : FrameVector{b, -a};
    case 2:
        return reversed ? FrameVector{a, -b} : FrameVector{-a, -b};
    case 3:
        return reversed ? FrameVector{b, a} : FrameVector{-b, a};
    default:
        return std::nullopt;
    }
}

bool IsUpright(Orientation orientation)
{
    return orientation.rotation == 0 && orientation.reversed != 1;
}

}  // namespace zorvane
