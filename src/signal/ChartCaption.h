#pragma once

#include "protocol/DeviceInfo.h"

#include <string>

namespace zorvane {

// The chart's identification line, e.g. "ABC|1003|5a5a|10    [X:64+64+32·Y:48+48]" (UTF-8).
std::string ChartCaption(const DeviceInfo& info);

}  // namespace zorvane
