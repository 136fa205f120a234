#pragma once

#include "link/DeviceChannel.h"
#include "link/ProcessList.h"
#include "sim/SimulatedHidBackend.h"

#include <memory>
#include <optional>
#include <string>

namespace zorvane {

// A machine running none of the tools the channel gives way to.
class NoProcesses : public ProcessList {
public:
    std::optional<bool> IsRunning(const std::string&) override { return false; }
};

// The link platform on `frame`: what the benchmarks' channels and the process-wide one run on.
inline LinkPlatform SimulatedLinkPlatform(std::shared_ptr<SimulatedHidBackend> frame)
{
    return LinkPlatform{std::move(frame), std::make_shared<NoProcesses>(), "zorvane"};
}

// Plugs `frame` in as the process-wide channel's device, before its first use.
inline void UseSimulatedFrame(std::shared_ptr<SimulatedHidBackend> frame)
{
    SetLinkPlatformFactory([frame = std::move(frame)] { return SimulatedLinkPlatform(frame); });
}

}  // namespace zorvane
