#include "calibration/NinePointCorrection.h"

#include "calibration/NinePointTargets.h"
#include "calibration/RecordValue.h"

namespace zorvane {
namespace {

// The point at a direction (each component -1, 0 or 1) from the centre in the frame's own axes.
NinePoint PointAt(FrameVector direction)
{
    constexpr NinePoint kGrid[3][3] = {
        {NinePoint::TopLeft, NinePoint::TopMiddle, NinePoint::TopRight},
        {NinePoint::MiddleLeft, NinePoint::Centre, NinePoint::MiddleRight},
        {NinePoint::BottomLeft, NinePoint::BottomMiddle, NinePoint::BottomRight},
    };
    return kGrid[direction.v + 1][direction.u + 1];
}

}  // namespace

std::optional<NinePoint> RecordPointFor(int target, Orientation orientation)
{
    const auto direction = OrientationMap(orientation, NinePointLayout::Direction(target));
    if (!direction)
        return std::nullopt;
    return PointAt(*direction);
}

void CorrectNinePointRecord(NinePointCalibration& record, int target, ScreenVector error, Orientation orientation)
{
    const auto point = RecordPointFor(target, orientation);
    const auto shift = OrientationMap(orientation, error);
    if (!point || !shift)
        return;
    const auto x = 2 * static_cast<std::size_t>(*point);
    record.values[x] = AddToRecordValue(record.values[x], shift->u);
    record.values[x + 1] = AddToRecordValue(record.values[x + 1], shift->v);
}

}  // namespace zorvane
