#pragma once

#include "link/HidBackend.h"
#include "platform/linux/HidrawNode.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorvane {

// The interface paths one node stands for: `<devnode>&col01` .. `&colNN` when its report descriptor has
// N > 1 top-level collections, else the bare devnode.
std::vector<std::string> InterfacePathsOf(const HidrawNode& node);

// The HID facility on Linux: hidraw nodes, named the way Windows names HID interfaces. A node whose
// report descriptor has N > 1 top-level collections is listed as N interfaces `<devnode>&col01` ..
// `&colNN`; any of them opens the node itself.
class HidrawBackend final : public HidBackend {
public:
    // Production lists the nodes through udev; tests list a fake sysfs tree.
    explicit HidrawBackend(HidrawLister lister);
    static std::shared_ptr<HidrawBackend> WithUdev();

    std::vector<std::string> ListInterfaces() override;
    std::optional<HidAttributes> GetAttributes(const std::string& path) override;
    std::shared_ptr<HidHandle> Open(const std::string& path) override;

private:
    // Nodes in node-number order (hidraw2 before hidraw10).
    std::vector<HidrawNode> SortedNodes() const;

    HidrawLister lister_;
};

}  // namespace zorvane
