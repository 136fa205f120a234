#include "ScanSeriesRead.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace zorvane {
namespace {

constexpr std::uint8_t kChunkReplyCode = 0x81;
constexpr std::size_t kChunkValuesStart = 9;
// The frame gets a short rest before every chunk request.
constexpr std::chrono::milliseconds kChunkPause{3};

void AppendChunk(const Report& reply, ScanSeries& series)
{
    const std::size_t count = std::min<std::size_t>(reply[8], kSignalChunkMax);
    const auto values = reply.begin() + kChunkValuesStart;
    series.insert(series.end(), values, values + static_cast<std::ptrdiff_t>(count));
}

}  // namespace

LinkStatus ReadScanSeries(DeviceProtocol& protocol, std::uint8_t selector, ScanSeries& series,
                          const std::int32_t& requestedCount)
{
    SelectNormalDevice(protocol);
    series.clear();
    constexpr auto kChunk = static_cast<std::int32_t>(kSignalChunkMax);
    Report reply;
    for (std::int32_t first = 0, count = requestedCount; first < count; count = requestedCount) {
        const std::int32_t length = first + kChunk < count ? kChunk : count - first;
        std::this_thread::sleep_for(kChunkPause);
        const Command chunk =
            commands::ReadSignalChunk(selector, static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(length));
        if (const LinkStatus status = protocol.Exchange(chunk, reply))
            return status;
        if (reply[2] != kChunkReplyCode)
            return link_status::kOk;
        AppendChunk(reply, series);
        first += length;
    }
    return link_status::kOk;
}

}  // namespace zorvane
