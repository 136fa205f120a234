#pragma once

#include <atomic>

namespace zorvane {

// Whether the charts show the column cursor; shared by every chart. The interface thread toggles it,
// a chart worker switches it off after a failed read.
std::atomic<bool>& cursorMode();

}  // namespace zorvane
