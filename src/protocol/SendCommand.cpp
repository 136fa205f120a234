#include "SendCommand.h"

namespace zorvane {

LinkStatus SendCommand(DeviceProtocol& protocol, const Command& command, Report& reply)
{
    SelectNormalDevice(protocol);
    return protocol.Exchange(command, reply);
}

LinkStatus SendCommand(DeviceProtocol& protocol, const Command& command)
{
    Report reply;
    return SendCommand(protocol, command, reply);
}

}  // namespace zorvane
