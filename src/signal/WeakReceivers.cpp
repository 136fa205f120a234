#include "signal/WeakReceivers.h"

#include "signal/ChartColumns.h"
#include "signal/CursorLabel.h"

namespace zorvane {
namespace {

constexpr std::int32_t kNoPartnerMark = 2;

void AddWeakOnes(ScanAxis axis, ScanDirection direction, const ScanSeries& values, const DeviceInfo& info,
                 std::vector<WeakReceiver>& weak)
{
    const std::int32_t threshold = ValueThreshold(direction, info);
    const bool oblique = direction != ScanDirection::Middle;
    for (std::size_t index = 0; index < values.size(); ++index) {
        const std::int32_t value = values[index];
        if (IsHealthyValue(value, threshold) || (oblique && value == kNoPartnerMark))
            continue;
        const CursorColumn column{axis, static_cast<std::int32_t>(index + 1)};
        weak.push_back({axis, column.index, value, DescribeCursorPosition(column, direction, values, info)});
    }
}

}  // namespace

std::vector<WeakReceiver> FindWeakReceivers(ScanDirection direction, const ScanSeries& xValues,
                                            const ScanSeries& yValues, const DeviceInfo& info)
{
    std::vector<WeakReceiver> weak;
    AddWeakOnes(ScanAxis::X, direction, xValues, info, weak);
    AddWeakOnes(ScanAxis::Y, direction, yValues, info, weak);
    return weak;
}

}  // namespace zorvane
