// Any 64 bytes as each identification reply: every decoder, the board lists and the layout text
// must accept everything.

#include "protocol/BoardList.h"
#include "protocol/DeviceInfo.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zorvane::Report reply{};
    std::copy_n(data, std::min(size, reply.size()), reply.begin());
    zorvane::DeviceInfo info;
    zorvane::DecodeIdentity(reply, info);
    zorvane::DecodeModelName(reply, info);
    zorvane::DecodeLayout(reply, info);
    zorvane::DecodeAxisParameters(reply, info);
    (void)zorvane::BoardLayoutText(info.xBoards, info.yBoards);
    (void)zorvane::LayoutDeviceId(reply);
    return 0;
}
