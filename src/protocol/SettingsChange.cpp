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

SettingAnswer ChangeSetting(DeviceProtocol& protocol, const Command& command)
{
    Report reply;
    SettingAnswer answer;
    answer.status = SendCommand(protocol, command, reply);
    answer.replyCode = reply[2];
    answer.refused = answer.status == link_status::kOk && !AnswersCommand(reply, command.request);
    return answer;
}

SettingAnswer ChangeRotation(DeviceProtocol& protocol, Rotation rotation)
{
    return ChangeSetting(protocol, commands::SetRotation(static_cast<std::uint8_t>(rotation)));
}

SettingAnswer ChangeReverse(DeviceProtocol& protocol, bool reversed)
{
    return ChangeSetting(protocol, commands::SetReverse(reversed ? 1 : 0));
}

SettingAnswer ChangeTouchMode(DeviceProtocol& protocol, TouchMode mode)
{
    return ChangeSetting(protocol, commands::SetTouchMode(static_cast<std::uint8_t>(mode)));
}

int RotationDegrees(Rotation rotation) { return 90 * static_cast<int>(rotation); }

}  // namespace zorvane
