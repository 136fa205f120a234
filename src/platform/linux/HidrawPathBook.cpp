#include "platform/linux/HidrawPathBook.h"

#include <utility>

namespace zorvane {

const std::vector<std::string>& HidrawPathBook::Arrived(const std::string& devnode, std::vector<std::string> paths)
{
    return paths_[devnode] = std::move(paths);
}

std::vector<std::string> HidrawPathBook::Removed(const std::string& devnode)
{
    const auto known = paths_.find(devnode);
    if (known == paths_.end())
        return {devnode};
    auto paths = std::move(known->second);
    paths_.erase(known);
    return paths;
}

}  // namespace zorvane
