#include "SettingsChange.h"

#include "SendCommand.h"
#include "SettingsCommands.h"

namespace zorvane {

LinkStatus ReadFrameSettings(DeviceProtocol& protocol, FrameSettings& settings)
{
    const LinkStatus rotation = QueryRotation(protocol, settings.rotation);
    const LinkStatus reversed = QueryReverse(protocol, settings.reversed);
    const LinkStatus mode = QueryTouchMode(protocol, settings.touchMode);
    for (const LinkStatus status : {rotation, reversed, mode})
        if (status != link_status::kOk)
            return status;
    return link_status::kOk;
}

LinkStatus ChangeRotation(DeviceProtocol& protocol, Rotation rotation)
{
    return SendCommand(protocol, commands::SetRotation(static_cast<std::uint8_t>(rotation)));
}

LinkStatus ChangeReverse(DeviceProtocol& protocol, bool reversed)
{
    return SendCommand(protocol, commands::SetReverse(reversed ? 1 : 0));
}

LinkStatus ChangeTouchMode(DeviceProtocol& protocol, TouchMode mode)
{
    return SendCommand(protocol, commands::SetTouchMode(static_cast<std::uint8_t>(mode)));
}

int RotationDegrees(Rotation rotation) { return 90 * static_cast<int>(rotation); }

}  // namespace zorvane
