#include "signal/StartAcquisition.h"

#include "signal/ChartInfo.h"
#include "signal/ScanChart.h"

namespace zorvane {

LinkStatus StartAcquisition(ScanChart& chart)
{
    if (const LinkStatus status = chartInfo().Refresh(GetDeviceProtocol()))
        return status;
    PrepareChart(chart);
    return link_status::kOk;
}

void PrepareChart(ScanChart& chart)
{
    // The geometry is in place before the worker can begin acquiring.
    chart.PrepareGeometry(chartInfo().get());
    chart.requests().Start();
}

}  // namespace zorvane
