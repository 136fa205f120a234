#pragma once

#include <string>

namespace zorvane {

// The file name of the running program, without directory: what the external-tool watcher compares
// with the watched program's name. Empty when it cannot be told.
std::string OwnExecutableName(const std::string& procRoot = "/proc");

}  // namespace zorvane
