#pragma once

#include <optional>
#include <string>

namespace zorvane {

// What the external-tool watcher needs of the platform's process list.
class ProcessList {
public:
    virtual ~ProcessList() = default;

    // Whether a process whose executable file name equals `name` (whole, case-sensitive) runs;
    // nothing when the process list cannot be read this time.
    virtual std::optional<bool> IsRunning(const std::string& name) = 0;
};

}  // namespace zorvane
