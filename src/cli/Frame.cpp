#include "cli/Frame.h"

#include "link/DeviceChannel.h"
#include "protocol/DeviceProtocol.h"

namespace zorvane::cli {

Outcome DeviceFailure(LinkStatus status, std::string_view doing)
{
    return LinkFailure(status, GetDeviceChannel().lastScanRefusedAccess(), doing);
}

Outcome ConnectFrame(DeviceInfo& info)
{
    return DeviceFailure(QueryDeviceInfo(GetDeviceProtocol(), info), "identifying the frame");
}

}  // namespace zorvane::cli
