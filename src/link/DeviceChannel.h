#pragma once

#include "DeviceFilter.h"
#include "EventReport.h"
#include "HidBackend.h"
#include "LinkStatus.h"
#include "ProcessList.h"
#include "Report.h"
#include "TransactionLock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace zorvane {

// The frame maker's own calibration program; while it runs this tool keeps off the frame.
inline constexpr const char* kWatchedProgram = "Merovan.exe";

struct LinkPlatform {
    std::shared_ptr<HidBackend> hid;
    std::shared_ptr<ProcessList> processes;
    std::string ownExecutableName;  // file name of this program, without directory
    std::function<std::chrono::steady_clock::time_point()> now = std::chrono::steady_clock::now;
};

// The one way to talk to the frame: finds and opens its HID interface, runs serialised
// request/reply transactions, and owns the reader and watcher threads for its whole life.
class DeviceChannel {
public:
    using PenTrayCallback = void (*)(int, int, int, int, int, int);
    using PointCallback0 = void (*)(int, int, const TouchPoint&);
    using PointCallback1 = void (*)(int, std::uint32_t);  // x in the low 16 bits, y in the high 16 bits

    explicit DeviceChannel(LinkPlatform platform);
    ~DeviceChannel();
    DeviceChannel(const DeviceChannel&) = delete;
    DeviceChannel& operator=(const DeviceChannel&) = delete;

    // Writes `request` and waits for its reply; `reply` is written only on success.
    LinkStatus Transact(int timeoutMs, const Report& request, Report& reply);
    // Closes the open interface (if any) and wakes the reader and a waiting transaction.
    void CloseDeviceHandle();
    // Stops both threads and closes the interface; the destructor calls it.
    void CloseChannel();
    // Routes one complete input report; called by the reader for every 64-byte report.
    void DispatchReport(const Report& report);

    // Governs the next scan only; an open interface stays open.
    void ApplyFilter(const DeviceFilter& filter);
    DeviceFilter filter() const;
    bool IsOpen() const;
    bool accessSuspended() const { return accessSuspended_.load(); }
    // Whether the last scan found the interface it looked for and this user was refused access to it
    // (on Linux: no udev rule gives the user the node, or a login without seat access). A throttled
    // scan leaves it as it was.
    bool lastScanRefusedAccess() const { return lastScanRefusedAccess_.load(); }
    // The last command report the reader received.
    Report response() const;

    std::atomic<PenTrayCallback> penTrayCallback{nullptr};
    std::atomic<PointCallback0> pointCallback0{nullptr};
    std::atomic<PointCallback1> pointCallback1{nullptr};

private:
    bool OpenDevice();
    bool ScanThrottled();
    LinkStatus WriteAndWait(const Report& request, Report& reply, std::chrono::milliseconds timeout);
    std::shared_ptr<HidHandle> currentHandle() const;
    void ReaderThread();
    void WatcherThread();

    const LinkPlatform platform_;
    TransactionLock deviceMutex_;  // serialises transactions
    std::optional<std::chrono::steady_clock::time_point> lastScanTime_;  // guarded by deviceMutex_

    mutable std::mutex filterLock_;
    DeviceFilter filter_;

    mutable std::mutex handleLock_;
    std::shared_ptr<HidHandle> deviceHandle_;

    // Hand-over between a waiting transaction and the reader. The matched reply is copied out at
    // match time, so a later report can never replace it before the transaction has taken it.
    mutable std::mutex exchangeLock_;
    std::condition_variable receiveEvent_;
    bool receiveSignalled_ = false;
    std::optional<Report> pendingRequest_;
    std::optional<Report> matchedReply_;
    Report response_{};

    std::atomic<bool> accessSuspended_{false};
    std::atomic<bool> lastScanRefusedAccess_{false};
    std::atomic<bool> readerStop_{false};
    std::atomic<bool> watcherStop_{false};
    std::thread reader_;
    std::thread watcher_;
};

// The process-wide channel. `main` (or a test) names how to build the platform before first use;
// the channel is created by the first call and lives until the process ends.
void SetLinkPlatformFactory(std::function<LinkPlatform()> factory);
DeviceChannel& GetDeviceChannel();

}  // namespace zorvane
