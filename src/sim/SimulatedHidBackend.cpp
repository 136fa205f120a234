#include "sim/SimulatedHidBackend.h"

#include <algorithm>
#include <utility>

namespace zorvane {

SimulatedHidBackend::SimulatedHidBackend(std::shared_ptr<SimulatedFrame> frame)
    : frame_(std::move(frame))
    , endpoint_(std::make_shared<FrameEndpoint>(frame_))
{
}

std::vector<std::string> SimulatedHidBackend::ListInterfaces()
{
    std::vector<std::string> paths;
    {
        std::lock_guard guard(lock_);
        if (plugged_)
            paths.assign(kFramePaths.begin(), kFramePaths.end());
    }
    paths.emplace_back(kUnrelatedPath);
    return paths;
}

std::optional<HidAttributes> SimulatedHidBackend::GetAttributes(const std::string& path)
{
    if (path == kUnrelatedPath)
        return kUnrelatedAttributes;
    std::lock_guard guard(lock_);
    if (!IsFramePath(path) || !plugged_)
        return std::nullopt;
    return frame_->usbAttributes();
}

std::shared_ptr<HidHandle> SimulatedHidBackend::Open(const std::string& path)
{
    if (path == kUnrelatedPath)
        return std::make_shared<SimulatedHidHandle>(nullptr);
    std::lock_guard guard(lock_);
    if (!IsFramePath(path) || !plugged_ || openFails_)
        return nullptr;
    auto handle = std::make_shared<SimulatedHidHandle>(path == kCommandPath ? endpoint_ : nullptr);
    std::erase_if(frameHandles_, [](const auto& weak) { return weak.expired(); });
    frameHandles_.push_back(handle);
    return handle;
}

void SimulatedHidBackend::Unplug()
{
    std::lock_guard guard(lock_);
    plugged_ = false;
    for (const auto& handle : LiveHandles())
        handle->Unplug();
}

void SimulatedHidBackend::Replug()
{
    std::lock_guard guard(lock_);
    plugged_ = true;
}

void SimulatedHidBackend::SetOpenFails(bool fails)
{
    std::lock_guard guard(lock_);
    openFails_ = fails;
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

bool SimulatedHidBackend::IsFramePath(const std::string& path)
{
    return std::find(kFramePaths.begin(), kFramePaths.end(), path) != kFramePaths.end();
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

}  // namespace zorvane
