#include "SettingsCommands.h"

#include "SendCommand.h"

namespace zorvane {
namespace {

// Firmware without reverse mounting answers its query with this status.
constexpr std::uint8_t kReverseNotSupported = 0x83;

}  // namespace

LinkStatus QueryTouchMode(DeviceProtocol& protocol, std::int32_t& mode)
{
    Report reply;
    const LinkStatus status = SendCommand(protocol, commands::GetTouchMode(), reply);
    if (status == link_status::kOk)
        mode = reply[5];
    return status;
}

LinkStatus QueryRotation(DeviceProtocol& protocol, std::int32_t& rotation)
{
    Report reply;
    const LinkStatus status = SendCommand(protocol, commands::GetRotation(), reply);
    rotation = reply[5];
    return status;
}

LinkStatus QueryReverse(DeviceProtocol& protocol, std::int32_t& reversed)
{
    Report reply;
    const LinkStatus status = SendCommand(protocol, commands::GetReverse(), reply);
    reversed = reply[2] == kReverseNotSupported ? 0 : reply[5];
    return status;
}

}  // namespace zorvane
