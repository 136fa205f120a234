#pragma once

#include <map>
#include <string>
#include <vector>

namespace zorvane {

// Which interface paths each hidraw node stands for. A removal is announced when the node's sysfs entry
// is already gone, so the paths a node had must be remembered from its arrival (or the first listing).
class HidrawPathBook {
public:
    // Records `paths` as those of `devnode` and hands them back.
    const std::vector<std::string>& Arrived(const std::string& devnode, std::vector<std::string> paths);
    // Forgets `devnode` and returns the paths it had: the bare devnode when it was never recorded.
    std::vector<std::string> Removed(const std::string& devnode);

private:
    std::map<std::string, std::vector<std::string>> paths_;
};

}  // namespace zorvane
