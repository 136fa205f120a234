#pragma once

#include "CommandTable.h"
#include "DeviceProtocol.h"

namespace zorvane {

// One normal-firmware command as the pages and the command layer send it: the channel is made sure
// of and pointed at the frame's command interface, then the request goes out with its time-out.
// `reply` is cleared first, so fields read after a failure are 0.
LinkStatus SendCommand(DeviceProtocol& protocol, const Command& command, Report& reply);
// For commands whose reply carries nothing the caller needs.
LinkStatus SendCommand(DeviceProtocol& protocol, const Command& command);

}  // namespace zorvane
