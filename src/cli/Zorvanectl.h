#pragma once

#include "cli/Command.h"
#include "link/DeviceChannel.h"

#include <functional>
#include <string>
#include <vector>

namespace zorvane::cli {

// How zorvanectl reaches a frame: this machine's hidraw devices, or the built-in simulated frame
// (--simulated). Only the chosen one is made.
struct CliPlatforms {
    std::function<LinkPlatform()> hidraw;
    std::function<LinkPlatform()> simulated;
};

// The whole program after its name: parses `args`, answers --help and --version, otherwise takes the
// frame's lock (FrameLock) and runs the command while holding it. Returns the exit status. Once per
// process: the link platform can be chosen only once.
int RunZorvanectl(const std::vector<std::string>& args, CliIo& io, const CliPlatforms& platforms);

}  // namespace zorvane::cli
