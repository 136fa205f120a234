#pragma once

#include "CommandTable.h"
#include "DeviceInfo.h"
#include "link/DeviceChannel.h"

#include <atomic>
#include <mutex>

namespace zorvane {

// The command layer's process-wide object: every normal-firmware command goes through it, and it
// keeps the last complete DeviceInfo for every page.
class DeviceProtocol {
public:
    std::atomic<DeviceChannel*> channel{nullptr};  // set by the first SelectNormalDevice

    // The last complete identification; pages and chart workers read it from several threads.
    DeviceInfo info() const;
    void setInfo(const DeviceInfo& info);

    // Clears `reply` and runs one transaction with the command's time-out.
    LinkStatus Exchange(const Command& command, Report& reply);

private:
    mutable std::mutex infoLock_;
    DeviceInfo info_;
};

DeviceProtocol& GetDeviceProtocol();
// Makes sure the channel exists and points the next scan at the normal firmware's command interface.
void SelectNormalDevice(DeviceProtocol& protocol);
// Fills `info` step by step; only a complete query updates the protocol's shared record.
LinkStatus QueryDeviceInfo(DeviceProtocol& protocol, DeviceInfo& info);

}  // namespace zorvane
