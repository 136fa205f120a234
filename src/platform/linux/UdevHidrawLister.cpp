#include "platform/linux/UdevHidrawLister.h"

#include <libudev.h>

#include <memory>

namespace zorvane {
namespace {

struct UdevDeleter {
    void operator()(udev* context) const { udev_unref(context); }
    void operator()(udev_enumerate* enumeration) const { udev_enumerate_unref(enumeration); }
    void operator()(udev_device* device) const { udev_device_unref(device); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

}  // namespace

std::vector<HidrawNode> ListHidrawNodesWithUdev()
{
    std::vector<HidrawNode> nodes;
    const UdevPtr<udev> context(udev_new());
    if (!context)
        return nodes;
    const UdevPtr<udev_enumerate> enumeration(udev_enumerate_new(context.get()));
    if (!enumeration || udev_enumerate_add_match_subsystem(enumeration.get(), "hidraw") < 0 ||
        udev_enumerate_scan_devices(enumeration.get()) < 0)
        return nodes;

    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration.get()))
    {
        const UdevPtr<udev_device> device(udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        if (!device)
            continue;
        const char* devnode = udev_device_get_devnode(device.get());
        if (devnode)
            nodes.push_back({devnode, udev_device_get_syspath(device.get())});
    }
    return nodes;
}

}  // namespace zorvane
