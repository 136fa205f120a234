#pragma once

#include "cli/ExitCode.h"
#include "protocol/DeviceInfo.h"

#include <string_view>

namespace zorvane::cli {

// A failed device operation of a command, told by what the last scan found.
Outcome DeviceFailure(LinkStatus status, std::string_view doing);

// Every device command starts here: identifies the frame, so that a missing or inaccessible frame is
// told apart from one that refuses what follows.
Outcome ConnectFrame(DeviceInfo& info);

}  // namespace zorvane::cli
