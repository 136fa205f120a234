#pragma once

#include "link/DeviceChannel.h"

#include <ostream>

namespace zorvane {

// Detects the frame on `platform` and writes its identification table, as the home page shows it.
// Returns 0 when a frame answered, 1 when none did.
int ListDeviceInfo(std::function<LinkPlatform()> platform, std::ostream& out);

}  // namespace zorvane
