#include "signal/ChartColumns.h"

#include <algorithm>

namespace zorvane {
namespace {

constexpr std::int32_t kColumnsLeft = 2;
constexpr std::int32_t kFirstNumber = 10;
constexpr std::int32_t kNumberStep = 20;

}  // namespace

ColumnRect ColumnRectFor(const ChartGeometry& geometry, ScanAxis axis, std::size_t index, std::int32_t value)
{
    const std::int32_t baseline = axis == ScanAxis::X ? geometry.xBaseline : geometry.yBaseline;
    const auto height = static_cast<std::int32_t>(static_cast<float>(value) * geometry.valueScale);
    return {geometry.columnWidth * static_cast<std::int32_t>(index) + kColumnsLeft, baseline - height - 1,
            geometry.columnWidth, height};
}

std::int32_t ValueThreshold(ScanDirection direction, const DeviceInfo& info)
{
    return direction == ScanDirection::Middle ? info.straightThreshold : info.obliqueThreshold;
}

bool IsHealthyValue(std::int32_t value, std::int32_t threshold)
{
    return value >= 2 * static_cast<std::int64_t>(threshold);
}

std::vector<std::int32_t> ColumnNumbers(const DeviceInfo& info)
{
    std::vector<std::int32_t> numbers;
    const std::int32_t columns = std::max(info.xReceiverCount, info.yReceiverCount);
    for (std::int32_t n = kFirstNumber; n <= columns; n += kNumberStep)
        numbers.push_back(n);
    return numbers;
}

}  // namespace zorvane
