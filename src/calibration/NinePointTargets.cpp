#include "calibration/NinePointTargets.h"

#include <array>
#include <utility>

namespace zorvane {
namespace {

constexpr int kInsetDivisor = 32;
constexpr int kReachX = 220;
constexpr int kReachY = 175;
constexpr int kMarkerRadius = 15;

constexpr std::array<ScreenVector, NinePointLayout::kTargetCount> kDirections = {{
    {-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {0, 0},
}};

// The coordinate of target column (or row) -1, 0 or 1 along an axis of the given length.
int AlongAxis(int step, int length, int inset)
{
    if (step < 0)
        return inset;
    if (step > 0)
        return length - inset;
    return length / 2;
}

// A zone's extent along an axis: the outer zones reach the display edge.
std::pair<int, int> ZoneAlongAxis(int step, int length, int inset, int reach)
{
    const int centre = AlongAxis(step, length, inset);
    return {step < 0 ? 0 : centre - reach, step > 0 ? length : centre + reach};
}

}  // namespace

NinePointLayout::NinePointLayout(ScreenSize screen)
    : screen_(screen), c_(screen.width / kInsetDivisor), d_(screen.height / kInsetDivisor)
{
}

ScreenVector NinePointLayout::Direction(int target)
{
    return kDirections[static_cast<std::size_t>(target)];
}

ScreenPoint NinePointLayout::Centre(int target) const
{
    const ScreenVector direction = Direction(target);
    return {AlongAxis(direction.x, screen_.width, c_), AlongAxis(direction.y, screen_.height, d_)};
}

std::array<ScreenPoint, NinePointLayout::kTargetCount> NinePointLayout::Centres() const
{
    std::array<ScreenPoint, kTargetCount> centres;
    for (int target = 0; target < kTargetCount; ++target)
        centres[static_cast<std::size_t>(target)] = Centre(target);
    return centres;
}

ScreenRect NinePointLayout::CaptureZone(int target) const
{
    const ScreenVector direction = Direction(target);
    const auto [left, right] = ZoneAlongAxis(direction.x, screen_.width, c_, kReachX);
    const auto [top, bottom] = ZoneAlongAxis(direction.y, screen_.height, d_, kReachY);
    return {{left, top}, {right, bottom}};
}

std::optional<int> NinePointLayout::ZoneAt(ScreenPoint point) const
{
    for (int target = 0; target < kTargetCount; ++target) {
        if (CaptureZone(target).Contains(point))
            return target;
    }
    return std::nullopt;
}

ScreenRect NinePointLayout::MarkerSquare(int target) const
{
    const ScreenPoint c = Centre(target);
    return {{c.x - kMarkerRadius, c.y - kMarkerRadius}, {c.x + kMarkerRadius, c.y + kMarkerRadius}};
}

TargetCross NinePointLayout::CrossOf(int target) const
{
    const ScreenPoint c = Centre(target);
    // The top-left cross starts at the display edges instead of reaching past them.
    const int left = target == 0 ? 0 : c.x - kReachX;
    const int top = target == 0 ? 0 : c.y - kReachY;
    return {{{left, c.y}, {c.x + kReachX, c.y}}, {{c.x, top}, {c.x, c.y + kReachY}}};
}

}  // namespace zorvane
