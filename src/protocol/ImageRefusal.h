#pragma once

#include "link/LinkStatus.h"

#include <string_view>

namespace zorvane {

// Why the updater refused an image, in the words of the firmware page: opening failed (60), format
// error (61), no match for this frame (62). Empty for any other status: a failed transaction is no
// fault of the image.
std::string_view ImageRefusalText(LinkStatus status);

}  // namespace zorvane
