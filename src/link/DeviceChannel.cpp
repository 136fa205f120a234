#include "DeviceChannel.h"

#include <utility>

namespace zorvane {
namespace {

using namespace std::chrono_literals;

constexpr auto kScanThrottle = 3s;
constexpr auto kSettleAfterOpen = 10ms;
constexpr auto kIdlePoll = 1ms;
constexpr auto kWatchCycle = 5ms;

bool Matches(const DeviceFilter& filter, const std::string& path, const HidAttributes& attributes)
{
    return (filter.vendorId == 0 || filter.vendorId == attributes.vendorId) &&
           (filter.productId == 0 || filter.productId == attributes.productId) &&
           (filter.pathFilter.empty() || path.find(filter.pathFilter) != std::string::npos);
}

}  // namespace

DeviceChannel::DeviceChannel(LinkPlatform platform)
    : platform_(std::move(platform))
    , reader_([this] { ReaderThread(); })
    , watcher_([this] { WatcherThread(); })
{
}

DeviceChannel::~DeviceChannel() { CloseChannel(); }

LinkStatus DeviceChannel::Transact(int timeoutMs, const Report& request, Report& reply)
{
    if (accessSuspended_.load())
        return link_status::kSuspended;
    const std::chrono::milliseconds timeout(timeoutMs);
    if (!deviceMutex_.try_lock_for(timeout))
        return link_status::kBusy;
    const std::unique_lock lock(deviceMutex_, std::adopt_lock);
    if (!IsOpen() && !OpenDevice())
        return link_status::kNoDevice;

    LinkStatus result = WriteAndWait(request, reply, timeout);
    // The bootloader must never see a request twice; the normal firmware gets one more attempt.
    if (result != link_status::kOk && request[0] != kBootloaderHeader)
        result = WriteAndWait(request, reply, timeout);
    if (result != link_status::kOk)
        CloseDeviceHandle();  // the next transaction scans afresh
    return result;
}

bool DeviceChannel::ScanThrottled()
{
    if (filter().rescanThrottle == 0)
        return false;
    const auto now = platform_.now();
    if (lastScanTime_ && now - *lastScanTime_ <= kScanThrottle)
        return true;
    lastScanTime_ = now;
    return false;
}

bool DeviceChannel::OpenDevice()
{
    if (ScanThrottled())
        return false;
    lastScanRefusedAccess_ = false;
    const DeviceFilter wanted = filter();
    for (const std::string& path : platform_.hid->ListInterfaces()) {
        const auto attributes = platform_.hid->GetAttributes(path);
        if (!attributes || !Matches(wanted, path, *attributes))
            continue;
        // The first match ends the scan, even when it cannot be opened.
        auto [handle, accessDenied] = platform_.hid->Open(path);
        if (!handle) {
            lastScanRefusedAccess_ = accessDenied;
            return false;
        }
        {
            std::lock_guard guard(filterLock_);
            filter_.devicePath = path;
            filter_.versionNumber = attributes->versionNumber;
        }
        {
            std::lock_guard guard(handleLock_);
            deviceHandle_ = std::move(handle);
        }
        std::this_thread::sleep_for(kSettleAfterOpen);
        return true;
    }
    return false;
}

LinkStatus DeviceChannel::WriteAndWait(const Report& request, Report& reply, std::chrono::milliseconds timeout)
{
    {
        // Armed before the write, so that however early the reply arrives the reader can match it.
        std::lock_guard guard(exchangeLock_);
        receiveSignalled_ = false;
        matchedReply_.reset();
        pendingRequest_ = request;
    }
    const auto handle = currentHandle();
    if (!handle || !handle->Write(request, timeout))
        return link_status::kWriteFailed;

    std::unique_lock lock(exchangeLock_);
    receiveEvent_.wait_for(lock, timeout, [this] { return receiveSignalled_; });
    // Woken without a match means the handle was closed under us: that is no reply, not success.
    if (!matchedReply_)
        return link_status::kNoReply;
    reply = *matchedReply_;
    return link_status::kOk;
}

void DeviceChannel::CloseDeviceHandle()
{
    std::shared_ptr<HidHandle> handle;
    {
        std::lock_guard guard(handleLock_);
        handle = std::exchange(deviceHandle_, nullptr);
    }
    if (!handle)
        return;
    handle->Close();  // wakes the reader; the descriptor goes when its last user lets go
    {
        std::lock_guard guard(exchangeLock_);
        receiveSignalled_ = true;
    }
    receiveEvent_.notify_all();
}

void DeviceChannel::CloseChannel()
{
    readerStop_ = true;
    watcherStop_ = true;
    CloseDeviceHandle();
    if (reader_.joinable())
        reader_.join();
    if (watcher_.joinable())
        watcher_.join();
}

void DeviceChannel::ApplyFilter(const DeviceFilter& filter)
{
    std::lock_guard guard(filterLock_);
    filter_ = filter;
    filter_.versionNumber = 0;
    filter_.devicePath.clear();
}

DeviceFilter DeviceChannel::filter() const
{
    std::lock_guard guard(filterLock_);
    return filter_;
}

bool DeviceChannel::IsOpen() const { return currentHandle() != nullptr; }

Report DeviceChannel::response() const
{
    std::lock_guard guard(exchangeLock_);
    return response_;
}

std::shared_ptr<HidHandle> DeviceChannel::currentHandle() const
{
    std::lock_guard guard(handleLock_);
    return deviceHandle_;
}

void DeviceChannel::DispatchReport(const Report& report)
{
    switch (ClassifyReport(report)) {
    case ReportKind::Foreign:
        return;
    case ReportKind::PenTray:
        if (const auto callback = penTrayCallback.load()) {
            const auto s = PenTraySlots(report);
            callback(s[0], s[1], s[2], s[3], s[4], s[5]);
        }
        return;
    case ReportKind::Point:
        if (report[4] == 0) {
            if (const auto callback = pointCallback0.load())
                callback(report[5], report[6], PointOfSelector0(report));
        } else if (report[4] == 1) {
            if (const auto callback = pointCallback1.load()) {
                const TouchPoint point = PointOfSelector1(report);
                callback(report[5], static_cast<std::uint32_t>(point.x) | (static_cast<std::uint32_t>(point.y) << 16));
            }
        }
        return;
    case ReportKind::Command:
        break;
    }
    {
        std::lock_guard guard(exchangeLock_);
        response_ = report;
        if (!pendingRequest_ || !IsReplyTo(report, *pendingRequest_))
            return;
        matchedReply_ = report;
        pendingRequest_.reset();  // no later report can answer the same request
        receiveSignalled_ = true;
    }
    receiveEvent_.notify_all();
}

void DeviceChannel::ReaderThread()
{
    Report buffer{};
    while (!readerStop_.load()) {
        const auto handle = accessSuspended_.load() ? nullptr : currentHandle();
        if (!handle) {
            std::this_thread::sleep_for(kIdlePoll);
            continue;
        }
        const ReadResult result = handle->Read(buffer, std::nullopt);
        if (result.outcome == ReadOutcome::Data && result.length == kReportSize)
            DispatchReport(buffer);
        else if (result.outcome == ReadOutcome::Failed)
            handle->AwaitClose();  // the next failing transaction closes it and so wakes us
    }
}

void DeviceChannel::WatcherThread()
{
    const bool isWatchedProgram = platform_.ownExecutableName == kWatchedProgram;
    while (!watcherStop_.load()) {
        std::this_thread::sleep_for(kWatchCycle);
        if (isWatchedProgram)
            continue;
        if (const auto running = platform_.processes->IsRunning(kWatchedProgram))
            accessSuspended_ = *running;
    }
}

namespace {

std::function<LinkPlatform()>& PlatformFactory()
{
    static std::function<LinkPlatform()> factory;
    return factory;
}

}  // namespace

void SetLinkPlatformFactory(std::function<LinkPlatform()> factory) { PlatformFactory() = std::move(factory); }

DeviceChannel& GetDeviceChannel()
{
    static DeviceChannel channel(PlatformFactory()());
    return channel;
}

}  // namespace zorvane
