#include "sim/SimulatedHidBackend.h"

#include <algorithm>
#include <utility>

namespace zorvane {

SimulatedHidBackend::SimulatedHidBackend(std::shared_ptr<SimulatedFrame> frame)
    : frame_(std::move(frame))
    , endpoint_(std::make_shared<FrameEndpoint>(frame_))
    , present_(frame_->running())
{
    frame_->SetRestartListener([this](Personality personality) { Restart(personality); });
}

SimulatedHidBackend::~SimulatedHidBackend()
{
    frame_->SetRestartListener(nullptr);
    std::lock_guard guard(arrivalLock_);
    arrival_.reset();
}

std::vector<std::string> SimulatedHidBackend::ListInterfaces()
{
    std::vector<std::string> paths;
    {
        std::lock_guard guard(lock_);
        paths = PresentPaths();
    }
    paths.emplace_back(kUnrelatedPath);
    std::sort(paths.begin(), paths.end());  // node order, as the hidraw backend lists them
    return paths;
}

std::optional<HidAttributes> SimulatedHidBackend::GetAttributes(const std::string& path)
{
    if (path == kUnrelatedPath)
        return kUnrelatedAttributes;
    std::lock_guard guard(lock_);
    const auto present = PresentPaths();
    if (std::find(present.begin(), present.end(), path) == present.end())
        return std::nullopt;
    return path == kBootloaderPath ? frame_->bootloaderAttributes() : frame_->usbAttributes();
}

OpenResult SimulatedHidBackend::Open(const std::string& path)
{
    if (path == kUnrelatedPath)
        return {std::make_shared<SimulatedHidHandle>(nullptr)};
    std::lock_guard guard(lock_);
    const auto present = PresentPaths();
    if (std::find(present.begin(), present.end(), path) == present.end())
        return {};
    if (openFails_ || accessDenied_)
        return {nullptr, accessDenied_};
    const bool takesCommands = path == kCommandPath || path == kBootloaderPath;
    auto handle = std::make_shared<SimulatedHidHandle>(takesCommands ? endpoint_ : nullptr);
    std::erase_if(frameHandles_, [](const auto& weak) { return weak.expired(); });
    frameHandles_.push_back(handle);
    return {std::move(handle)};
}

void SimulatedHidBackend::Unplug()
{
    std::lock_guard arrival(arrivalLock_);
    arrival_.reset();  // an unplugged frame does not come back by itself
    std::vector<DeviceNotice> notices;
    {
        std::lock_guard guard(lock_);
        plugged_ = false;
        notices = RemoveInterfaces();
    }
    Announce(notices);
}

// The cable carries the frame's power: a re-plug is a power cycle.
void SimulatedHidBackend::Replug()
{
    std::vector<DeviceNotice> notices;
    {
        std::lock_guard guard(lock_);
        if (!plugged_) {
            frame_->PowerCycle();
            plugged_ = true;
            notices = AddInterfaces(frame_->running());
        }
    }
    Announce(notices);
}

void SimulatedHidBackend::SetReenumerationDelay(std::chrono::milliseconds delay)
{
    std::lock_guard guard(lock_);
    reenumerationDelay_ = delay;
}

void SimulatedHidBackend::SetOpenFails(bool fails)
{
    std::lock_guard guard(lock_);
    openFails_ = fails;
}

void SimulatedHidBackend::SetAccessDenied(bool denied)
{
    std::lock_guard guard(lock_);
    accessDenied_ = denied;
}

bool SimulatedHidBackend::SendInputReport(const Report& report, std::size_t length)
{
    std::lock_guard guard(lock_);
    bool delivered = false;
    for (const auto& handle : LiveHandles()) {
        if (handle->acceptsCommands() && handle->Deliver({report, length}))
            delivered = true;
    }
    return delivered;
}

std::size_t SimulatedHidBackend::OpenHandleCount() const
{
    std::lock_guard guard(lock_);
    const auto handles = LiveHandles();
    return static_cast<std::size_t>(
        std::count_if(handles.begin(), handles.end(), [](const auto& handle) { return !handle->closed(); }));
}

std::vector<std::string> SimulatedHidBackend::PresentPaths() const
{
    if (!present_)
        return {};
    if (*present_ == Personality::Bootloader)
        return {kBootloaderPath};
    return {kFramePaths.begin(), kFramePaths.end()};
}

std::vector<std::shared_ptr<SimulatedHidHandle>> SimulatedHidBackend::LiveHandles() const
{
    std::vector<std::shared_ptr<SimulatedHidHandle>> live;
    for (const auto& weak : frameHandles_) {
        if (auto handle = weak.lock())
            live.push_back(std::move(handle));
    }
    return live;
}

// Runs on the thread whose request (or SetState) restarted the frame, inside its write: the reply
// the frame sent before restarting is already on its way and stays readable on the dying handle.
void SimulatedHidBackend::Restart(Personality personality)
{
    std::lock_guard arrival(arrivalLock_);
    arrival_.reset();  // a restart overtakes an arrival still due
    std::chrono::milliseconds delay;
    std::vector<DeviceNotice> notices;
    {
        std::lock_guard guard(lock_);
        notices = RemoveInterfaces();
        delay = reenumerationDelay_;
    }
    Announce(notices);
    if (delay == std::chrono::milliseconds::zero())
        Arrive(personality);
    else
        arrival_ = std::make_unique<DelayedCall>(delay, [this, personality] { Arrive(personality); });
}

void SimulatedHidBackend::Arrive(Personality personality)
{
    std::vector<DeviceNotice> notices;
    {
        std::lock_guard guard(lock_);
        if (plugged_)
            notices = AddInterfaces(personality);
    }
    Announce(notices);
}

std::vector<DeviceNotice> SimulatedHidBackend::AddInterfaces(Personality personality)
{
    present_ = personality;
    return NoticesForPresentPaths(DeviceNotice::Kind::Arrival);
}

std::vector<DeviceNotice> SimulatedHidBackend::RemoveInterfaces()
{
    std::vector<DeviceNotice> notices = NoticesForPresentPaths(DeviceNotice::Kind::Removal);
    present_.reset();
    for (const auto& handle : LiveHandles())
        handle->Unplug();
    return notices;
}

std::vector<DeviceNotice> SimulatedHidBackend::NoticesForPresentPaths(DeviceNotice::Kind kind) const
{
    std::vector<DeviceNotice> notices;
    for (std::string& path : PresentPaths())
        notices.push_back({kind, std::move(path)});
    return notices;
}

void SimulatedHidBackend::SetHandler(Handler handler)
{
    std::lock_guard guard(noticeLock_);
    noticeHandler_ = std::move(handler);
}

void SimulatedHidBackend::Announce(const std::vector<DeviceNotice>& notices)
{
    std::lock_guard guard(noticeLock_);
    if (!noticeHandler_)
        return;
    for (const DeviceNotice& notice : notices)
        noticeHandler_(notice);
}

}  // namespace zorvane
