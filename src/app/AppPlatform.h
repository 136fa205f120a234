#pragma once

#include "link/DeviceChannel.h"
#include "link/DeviceNotices.h"

#include <functional>
#include <memory>

namespace zorvane {

// What `main` plugs into the application: how the link reaches HID devices and where device notices
// come from. The notice source is made on the UI thread once the application object exists; a null
// source (or no factory) means no hot-plug notices.
struct AppPlatform {
    std::function<LinkPlatform()> link;
    std::function<std::shared_ptr<DeviceNoticeSource>()> notices;
};

}  // namespace zorvane
