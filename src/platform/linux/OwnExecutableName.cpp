#include "platform/linux/OwnExecutableName.h"

#include <unistd.h>

#include <array>
#include <climits>
#include <string_view>

namespace zorvane {

std::string OwnExecutableName(const std::string& procRoot)
{
    std::array<char, PATH_MAX> target;
    const ssize_t length = readlink((procRoot + "/self/exe").c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) == target.size())
        return {};
    std::string_view path(target.data(), static_cast<std::size_t>(length));
    // A program whose file was removed or replaced while it runs links to "<path> (deleted)".
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted))
        path.remove_suffix(kDeleted.size());
    return std::string(path.substr(path.rfind('/') + 1));
}

}  // namespace zorvane
