#include "platform/linux/UdevMonitor.h"

#include "platform/linux/HidrawBackend.h"
#include "platform/linux/UdevHidrawLister.h"

#include <libudev.h>

#include <QSocketNotifier>

#include <string_view>

namespace zorvane {

struct UdevMonitor::Connection {
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;

    ~Connection()
    {
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
    }
};

UdevMonitor::UdevMonitor()
    : connection_(std::make_unique<Connection>())
{
    connection_->context = udev_new();
    if (!connection_->context)
        return;
    connection_->monitor = udev_monitor_new_from_netlink(connection_->context, "udev");
    if (!connection_->monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(connection_->monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(connection_->monitor) < 0)
        return;
    // Listening starts before the listing, so a node that comes in between is not missed.
    notifier_ = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(connection_->monitor), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Receive(); });
    RememberPresentNodes();
}

UdevMonitor::~UdevMonitor() = default;

void UdevMonitor::SetHandler(Handler handler)
{
    std::lock_guard guard(handlerLock_);
    handler_ = std::move(handler);
}

void UdevMonitor::RememberPresentNodes()
{
    for (const HidrawNode& node : ListHidrawNodesWithUdev())
        book_.Arrived(node.devnode, InterfacePathsOf(node));
}

void UdevMonitor::Receive()
{
    udev_device* device = udev_monitor_receive_device(connection_->monitor);
    if (!device)
        return;
    const char* action = udev_device_get_action(device);
    const char* devnode = udev_device_get_devnode(device);
    const char* syspath = udev_device_get_syspath(device);
    if (action && devnode && syspath) {
        if (std::string_view(action) == "add")
            Notify(DeviceNotice::Kind::Arrival, book_.Arrived(devnode, InterfacePathsOf({devnode, syspath})));
        else if (std::string_view(action) == "remove")
            Notify(DeviceNotice::Kind::Removal, book_.Removed(devnode));
    }
    udev_device_unref(device);
}

void UdevMonitor::Notify(DeviceNotice::Kind kind, const std::vector<std::string>& paths)
{
    std::lock_guard guard(handlerLock_);
    if (!handler_)
        return;
    for (const std::string& path : paths)
        handler_(DeviceNotice{kind, path});
}

}  // namespace zorvane
