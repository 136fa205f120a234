#include "signal/ChartGeometry.h"

#include "signal/ChartCaption.h"
#include "signal/ChartVersion.h"

#include <algorithm>

namespace zorvane {
namespace {

// Room left of and right of the columns for the axis texts.
constexpr std::int32_t kColumnMargin = 30;
constexpr std::int32_t kBaselineLift = 29;
// Full scale (value 256) ends this far above the base line's own row.
constexpr std::int32_t kTopMargin = 7;
constexpr double kPerValueUnit = 1.0 / 256;

std::int32_t GridLine(std::int32_t baseline, double fullScale, double divisor)
{
    return static_cast<std::int32_t>(baseline - 1 - fullScale / divisor);
}

std::int32_t FullScale(const ChartGeometry& geometry) { return geometry.xBaseline - kTopMargin; }

}  // namespace

void LayoutChart(ChartGeometry& geometry, std::int32_t width, std::int32_t height)
{
    geometry.width = width;
    geometry.height = height;
    geometry.xBaseline = height / 2 - kBaselineLift;
    geometry.yBaseline = height - kBaselineLift;
    geometry.valueScale = static_cast<float>(FullScale(geometry) * kPerValueUnit);
    PlaceGridLines(geometry, kScaleSetA);
}

void PlaceGridLines(ChartGeometry& geometry, const ScaleSet& scale)
{
    const double fullScale = FullScale(geometry);
    for (std::size_t k = 0; k < scale.divisors.size(); ++k) {
        geometry.gridY[k] = GridLine(geometry.xBaseline, fullScale, scale.divisors[k]);
        geometry.gridY[3 + k] = GridLine(geometry.yBaseline, fullScale, scale.divisors[k]);
    }
}

void PrepareChartGeometry(ChartGeometry& geometry, const DeviceInfo& info)
{
    const std::int32_t columns = std::max(info.xReceiverCount, info.yReceiverCount);
    geometry.columnWidth = columns > 0 ? (geometry.width - kColumnMargin) / columns : 0;
    const ScaleSet& scale = ScaleSetFor(ChartVersion(info.firmwareVersionText));
    PlaceGridLines(geometry, scale);
    std::copy(scale.labels.begin(), scale.labels.end(), geometry.gridLabels.begin());
    geometry.captionText = ChartCaption(info);
}

}  // namespace zorvane
