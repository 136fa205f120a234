#include "calibration/TwoPointCorrection.h"

#include "calibration/RecordValue.h"

namespace zorvane {
namespace {

// The target's direction from the display centre.
ScreenVector DirectionOf(TwoPointTarget target)
{
    return target == TwoPointTarget::TopLeft ? ScreenVector{-1, -1} : ScreenVector{1, 1};
}

}  // namespace

std::optional<TwoPointCorner> CornerFor(TwoPointTarget target, Orientation orientation)
{
    const auto direction = OrientationMap(orientation, DirectionOf(target));
    if (!direction)
        return std::nullopt;
    return TwoPointCorner{direction->u > 0, direction->v > 0};
}

void CorrectTwoPointRecord(TwoPointCalibration& record, TwoPointTarget target, ScreenVector error,
                           Orientation orientation)
{
    const auto corner = CornerFor(target, orientation);
    const auto shift = OrientationMap(orientation, error);
    if (!corner || !shift)
        return;
    std::int32_t& x = corner->right ? record.right : record.left;
    std::int32_t& y = corner->bottom ? record.bottom : record.top;
    x = AddToRecordValue(x, shift->u);
    y = AddToRecordValue(y, shift->v);
}

}  // namespace zorvane
