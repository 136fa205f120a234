#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zorvane {

// One hidraw device node as the system lists it.
struct HidrawNode {
    std::string devnode;  // e.g. /dev/hidraw3
    std::string syspath;  // its sysfs directory, e.g. /sys/devices/.../hidraw/hidraw3
};

// Lists the present hidraw nodes, in any order.
using HidrawLister = std::function<std::vector<HidrawNode>()>;

}  // namespace zorvane
