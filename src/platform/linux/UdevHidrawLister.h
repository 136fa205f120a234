#pragma once

#include "platform/linux/HidrawNode.h"

#include <vector>

namespace zorvane {

// The hidraw nodes udev knows of; empty when udev cannot be asked.
std::vector<HidrawNode> ListHidrawNodesWithUdev();

}  // namespace zorvane
