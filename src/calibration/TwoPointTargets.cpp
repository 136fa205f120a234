#include "calibration/TwoPointTargets.h"

namespace zorvane {
namespace {

constexpr int kInset = 150;
constexpr int kZoneReach = 100;
constexpr int kCrossReach = 145;
constexpr int kRepaintSize = 300;

bool InZone(TwoPointTarget target, ScreenSize screen, ScreenPoint point)
{
    const ScreenVector offset = point - TargetCentre(target, screen);
    return -kZoneReach < offset.x && offset.x < kZoneReach && -kZoneReach < offset.y && offset.y < kZoneReach;
}

}  // namespace

ScreenPoint TargetCentre(TwoPointTarget target, ScreenSize screen)
{
    if (target == TwoPointTarget::TopLeft)
        return {kInset, kInset};
    return {screen.width - kInset, screen.height - kInset};
}

std::optional<TwoPointTarget> TwoPointZoneAt(ScreenSize screen, ScreenPoint point)
{
    for (TwoPointTarget target : {TwoPointTarget::TopLeft, TwoPointTarget::BottomRight}) {
        if (InZone(target, screen, point))
            return target;
    }
    return std::nullopt;
}

ScreenRect RepaintArea(TwoPointTarget target, ScreenSize screen)
{
    if (target == TwoPointTarget::TopLeft)
        return {{0, 0}, {kRepaintSize, kRepaintSize}};
    return {{screen.width - kRepaintSize, screen.height - kRepaintSize}, {screen.width, screen.height}};
}

TargetCross CrossOf(TwoPointTarget target, ScreenSize screen)
{
    const ScreenPoint c = TargetCentre(target, screen);
    return {{{c.x - kCrossReach, c.y}, {c.x + kCrossReach, c.y}}, {{c.x, c.y - kCrossReach}, {c.x, c.y + kCrossReach}}};
}

int NextRingCount(int ringCount)
{
    return ringCount == 5 ? 0 : ringCount + 1;
}

int RingRadius(int ring)
{
    return 20 + 15 * ring;
}

}  // namespace zorvane
