#pragma once

#include "link/Report.h"
#include "protocol/CommandTable.h"
#include "sim/FrameState.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zorvane::sim_routes {

// How the frame's personalities answer: one handler per command, keyed by the request the command
// table builds. Handlers get the state to change it where a command sets something.
using Replies = std::vector<Report>;
using Handler = Replies (*)(FrameState& state, const Report& request);

struct Route {
    std::uint8_t command = 0;
    std::uint8_t subCommand = 0;
    Handler handler = nullptr;
};

inline Route RouteFor(const Command& command, Handler handler)
{
    return {command.request[1], command.request[2], handler};
}

inline Handler HandlerFor(std::span<const Route> routes, const Report& request)
{
    for (const Route& route : routes) {
        if (route.command == request[1] && route.subCommand == request[2])
            return route.handler;
    }
    return nullptr;
}

// The usual reply: the command repeated, the sub-command plus 0x80 as reply code.
inline Report ReplyTo(const Report& request)
{
    Report reply{};
    reply[0] = request[0];
    reply[1] = request[1];
    reply[2] = static_cast<std::uint8_t>(request[2] + 0x80);
    return reply;
}

// The commands of each personality (SimulatedFrame.cpp, Bootloader.cpp).
std::span<const Route> NormalFirmwareRoutes();
std::span<const Route> BootloaderRoutes();

}  // namespace zorvane::sim_routes
