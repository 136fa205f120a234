#include "platform/linux/HidrawBackend.h"

#include "platform/linux/HidrawHandle.h"
#include "platform/linux/HidrawSysfs.h"
#include "platform/linux/ReportDescriptor.h"
#include "platform/linux/UdevHidrawLister.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <limits>
#include <string_view>
#include <utility>

namespace zorvane {
namespace {

constexpr std::string_view kCollectionMarker = "&col";

// The number a node name ends in (hidraw10 -> 10); names without one sort last.
unsigned NodeNumber(std::string_view devnode)
{
    const auto digits = devnode.find_last_not_of("0123456789") + 1;
    unsigned number = 0;
    const auto [end, error] = std::from_chars(devnode.data() + digits, devnode.data() + devnode.size(), number);
    if (error != std::errc() || end != devnode.data() + devnode.size())
        return std::numeric_limits<unsigned>::max();
    return number;
}

std::string CollectionPath(const std::string& devnode, std::size_t collection)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "&col%02zu", collection);
    return devnode + suffix;
}

// The device node behind an interface path: the path without its `&colNN` suffix.
std::string_view DevnodeOf(std::string_view path)
{
    const auto marker = path.rfind(kCollectionMarker);
    if (marker == std::string_view::npos)
        return path;
    const auto number = path.substr(marker + kCollectionMarker.size());
    const bool isSuffix = !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
    return isSuffix ? path.substr(0, marker) : path;
}

}  // namespace

std::vector<std::string> InterfacePathsOf(const HidrawNode& node)
{
    const auto collections = ParseTopLevelCollections(ReadReportDescriptor(node.syspath)).size();
    if (collections <= 1)
        return {node.devnode};
    std::vector<std::string> paths;
    for (std::size_t collection = 1; collection <= collections; ++collection)
        paths.push_back(CollectionPath(node.devnode, collection));
    return paths;
}

int HidrawBackend::SystemOpen(const char* devnode, int flags) { return open(devnode, flags); }

HidrawBackend::HidrawBackend(HidrawLister lister, OpenCall open)
    : lister_(std::move(lister))
    , open_(std::move(open))
{
}

std::shared_ptr<HidrawBackend> HidrawBackend::WithUdev()
{
    return std::make_shared<HidrawBackend>(ListHidrawNodesWithUdev);
}

std::vector<HidrawNode> HidrawBackend::SortedNodes() const
{
    auto nodes = lister_();
    std::ranges::sort(nodes, {}, [](const HidrawNode& node) {
        return std::pair(NodeNumber(node.devnode), std::string_view(node.devnode));
    });
    return nodes;
}

std::vector<std::string> HidrawBackend::ListInterfaces()
{
    std::vector<std::string> paths;
    std::map<std::string, std::string, std::less<>> syspaths;
    for (HidrawNode& node : SortedNodes()) {
        auto nodePaths = InterfacePathsOf(node);
        paths.insert(paths.end(), std::make_move_iterator(nodePaths.begin()), std::make_move_iterator(nodePaths.end()));
        syspaths.emplace(std::move(node.devnode), std::move(node.syspath));
    }
    std::lock_guard guard(listedLock_);
    listedSyspaths_ = std::move(syspaths);
    return paths;
}

std::optional<HidAttributes> HidrawBackend::GetAttributes(const std::string& path)
{
    const auto syspath = SyspathOf(DevnodeOf(path));
    if (!syspath)
        return std::nullopt;
    return ReadHidrawAttributes(*syspath);
}

std::optional<std::string> HidrawBackend::SyspathOf(std::string_view devnode)
{
    {
        std::lock_guard guard(listedLock_);
        if (const auto listed = listedSyspaths_.find(devnode); listed != listedSyspaths_.end())
            return listed->second;
    }
    for (HidrawNode& node : lister_()) {
        if (node.devnode == devnode)
            return std::move(node.syspath);
    }
    return std::nullopt;
}

OpenResult HidrawBackend::Open(const std::string& path)
{
    const int fd = open_(std::string(DevnodeOf(path)).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {nullptr, errno == EACCES || errno == EPERM};
    return {HidrawHandle::Adopt(fd)};
}

}  // namespace zorvane
