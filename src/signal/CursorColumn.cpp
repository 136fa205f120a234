#include "signal/CursorColumn.h"

namespace zorvane {
namespace {

constexpr std::int32_t kColumnsLeft = 2;
// Rows above the columns of each half taken by the caption and the parameter texts.
constexpr std::int32_t kXTextRows = 60;
constexpr std::int32_t kYTextRows = 80;

}  // namespace

CursorColumn TrackCursor(CursorColumn current, std::int32_t x, std::int32_t y, const ChartGeometry& geometry,
                         const DeviceInfo& info)
{
    current.index = 0;
    if (x <= kColumnsLeft || geometry.columnWidth == 0)
        return current;
    const std::int32_t column = (x - kColumnsLeft) / geometry.columnWidth + 1;
    if (x <= geometry.columnWidth * info.xReceiverCount && kXTextRows < y && y < geometry.xBaseline)
        current = {ScanAxis::X, column};
    if (x <= geometry.columnWidth * info.yReceiverCount && geometry.xBaseline + kYTextRows < y &&
        y < geometry.yBaseline)
        current = {ScanAxis::Y, column};
    return current;
}

}  // namespace zorvane
