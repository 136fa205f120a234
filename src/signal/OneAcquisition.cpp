#include "signal/OneAcquisition.h"

#include "protocol/CommandTable.h"
#include "protocol/SendCommand.h"

namespace zorvane {

bool AxisSeries::CompleteFor(const DeviceInfo& info) const
{
    return std::ssize(x) == info.xReceiverCount && std::ssize(y) == info.yReceiverCount;
}

LinkStatus ReadOneAcquisition(DeviceProtocol& protocol, SeriesKind kind, ScanDirection direction,
                              const DeviceInfo& info, AxisSeries& series)
{
    series = {};
    LinkStatus status = SendCommand(protocol, commands::SetTouchMode(touch_mode::kScanOn));
    if (status == link_status::kOk)
        status = ReadScanSeries(protocol, ScanSelector(kind, direction, ScanAxis::X), series.x, info.xReceiverCount);
    if (status == link_status::kOk)
        status = ReadScanSeries(protocol, ScanSelector(kind, direction, ScanAxis::Y), series.y, info.yReceiverCount);
    const LinkStatus off = SendCommand(protocol, commands::SetTouchMode(touch_mode::kScanOff));
    const LinkStatus led = SendCommand(protocol, commands::SetLed(1));
    for (const LinkStatus each : {status, off, led})
        if (each != link_status::kOk)
            return each;
    return link_status::kOk;
}

}  // namespace zorvane
