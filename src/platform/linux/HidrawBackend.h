#pragma once

#include "link/HidBackend.h"
#include "platform/linux/HidrawNode.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvane {

// The interface paths one node stands for: `<devnode>&col01` .. `&colNN` when its report descriptor has
// N > 1 top-level collections, else the bare devnode.
std::vector<std::string> InterfacePathsOf(const HidrawNode& node);

// The HID facility on Linux: hidraw nodes, named the way Windows names HID interfaces. A node whose
// report descriptor has N > 1 top-level collections is listed as N interfaces `<devnode>&col01` ..
// `&colNN`; any of them opens the node itself. A scan lists the nodes once: the attributes of the
// paths it lists are read from the nodes that listing found.
class HidrawBackend final : public HidBackend {
public:
    // open(2) of a device node: the descriptor, or -1 with errno set. Tests stand in for it.
    using OpenCall = std::function<int(const char* devnode, int flags)>;
    static int SystemOpen(const char* devnode, int flags);

    // Production lists the nodes through udev; tests list a fake sysfs tree.
    explicit HidrawBackend(HidrawLister lister, OpenCall open = SystemOpen);
    static std::shared_ptr<HidrawBackend> WithUdev();

    std::vector<std::string> ListInterfaces() override;
    std::optional<HidAttributes> GetAttributes(const std::string& path) override;
    // Access is denied when open fails with EACCES or EPERM: no udev rule gives this user the node, or
    // the user is not logged in at the seat (over SSH, say).
    OpenResult Open(const std::string& path) override;

private:
    // Nodes in node-number order (hidraw2 before hidraw10).
    std::vector<HidrawNode> SortedNodes() const;
    // The sysfs directory of `devnode` as the last listing found it; a node it did not find is
    // looked up afresh.
    std::optional<std::string> SyspathOf(std::string_view devnode);

    HidrawLister lister_;
    OpenCall open_;
    std::mutex listedLock_;
    std::map<std::string, std::string, std::less<>> listedSyspaths_;  // by devnode; guarded by listedLock_
};

}  // namespace zorvane
