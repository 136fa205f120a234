#pragma once

#include "CommandTable.h"
#include "DeviceInfo.h"
#include "link/DeviceChannel.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace zorvane {

// The command layer's process-wide object: every normal-firmware command goes through it, and it
// keeps the last complete DeviceInfo for every page.
class DeviceProtocol {
public:
    std::atomic<DeviceChannel*> channel{nullptr};  // set by the first SelectNormalDevice
    // Counts the NormalTrafficHolds alive: while any is, a firmware transfer owns the channel.
    std::atomic<int> holds{0};
    bool heldBack() const { return holds > 0; }

    // The last complete identification; pages and chart workers read it from several threads.
    DeviceInfo info() const;
    void setInfo(const DeviceInfo& info);

    // Clears `reply` and runs one transaction with the command's time-out; fails with kBusy without
    // touching the channel while normal traffic is held back.
    LinkStatus Exchange(const Command& command, Report& reply);

private:
    mutable std::mutex infoLock_;
    DeviceInfo info_;
};

// Holds normal-firmware traffic back for its lifetime. A normal request sent to the open bootloader
// would go unanswered, and its failed transaction would close the interface under the transfer.
// Holds nest, and one can be taken on the interface thread and moved into the transfer's worker so
// there is no moment between the worker's start and its hold.
class NormalTrafficHold {
public:
    explicit NormalTrafficHold(DeviceProtocol& protocol) : protocol_(&protocol) { ++protocol_->holds; }
    ~NormalTrafficHold()
    {
        if (protocol_)
            --protocol_->holds;
    }
    NormalTrafficHold(NormalTrafficHold&& other) noexcept : protocol_(std::exchange(other.protocol_, nullptr)) {}
    NormalTrafficHold(const NormalTrafficHold&) = delete;
    NormalTrafficHold& operator=(const NormalTrafficHold&) = delete;
    NormalTrafficHold& operator=(NormalTrafficHold&&) = delete;

private:
    DeviceProtocol* protocol_;
};

DeviceProtocol& GetDeviceProtocol();
// Makes sure the channel exists and points the next scan at the normal firmware's command interface;
// while normal traffic is held back the filter is left to the transfer.
void SelectNormalDevice(DeviceProtocol& protocol);
// Closes the interface of a frame that was unplugged, unless normal traffic is held back: the
// transfer's own packets then tell whether its frame is still there.
void CloseNormalDevice(DeviceProtocol& protocol);
// Fills `info` step by step; only a complete query updates the protocol's shared record.
LinkStatus QueryDeviceInfo(DeviceProtocol& protocol, DeviceInfo& info);

}  // namespace zorvane
