#include "calibration/TargetScreenButtons.h"

namespace zorvane {
namespace {

constexpr int kButtonWidth = 152;
constexpr int kButtonHeight = 52;
constexpr int kSideShift = 120;
constexpr int kNinePointDrop = 150;

TargetScreenButtons PlaceButtons(ScreenSize screen, int drop)
{
    const int x = (screen.width - kButtonWidth) / 2;
    const int y = (screen.height - kButtonHeight) / 2 + drop;
    return {{x - kSideShift, y}, {x + kSideShift, y}};
}

}  // namespace

TargetScreenButtons TwoPointScreenButtons(ScreenSize screen)
{
    return PlaceButtons(screen, 0);
}

TargetScreenButtons NinePointScreenButtons(ScreenSize screen)
{
    return PlaceButtons(screen, kNinePointDrop);
}

}  // namespace zorvane
