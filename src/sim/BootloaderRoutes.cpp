// The frame's bootloader personality: the commands it answers and how.
#include "protocol/FirmwareImage.h"
#include "sim/FrameRoutes.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace zorvane::sim_routes {
namespace {

constexpr std::size_t kKeyByte = 5;
constexpr std::size_t kChecksumLowByte = 6;
constexpr std::size_t kTargetStart = 9;
constexpr std::size_t kPacketIndexByte = 5;
constexpr std::size_t kPacketLengthByte = 6;
constexpr std::size_t kPacketPayloadStart = 8;
constexpr std::uint8_t kImageAccepted = 1;

Replies AnswerProbe(FrameState&, const Report& request) { return {ReplyTo(request)}; }

// Begins a transfer for an image that names this frame; any transfer under way is dropped.
Replies AnswerBegin(FrameState& state, const Report& request)
{
    FrameState::Bootloader& bootloader = state.bootloader;
    bootloader.transfer.reset();
    Report reply = ReplyTo(request);
    const auto target = request.begin() + kTargetStart;
    if (!std::equal(bootloader.targetBytes.begin(), bootloader.targetBytes.end(), target))
        return {reply};  // r[5] stays 0: not for this frame
    const std::uint8_t key = request[kKeyByte];
    FrameState::Transfer transfer;
    transfer.checksum = static_cast<std::uint16_t>((request[kChecksumLowByte] ^ key) |
                                                   (request[kChecksumLowByte + 1] ^ key) << 8);
    bootloader.transfer = std::move(transfer);
    reply[5] = kImageAccepted;
    return {reply};
}

// No image it takes is larger than its larger accepted size, so neither is any payload.
bool HasRoomForPacket(const FrameState::Bootloader& bootloader)
{
    const AcceptedSizes sizes = AcceptedSizesFor(bootloader.versionNumber);
    const auto largest = static_cast<std::size_t>(std::max(sizes.sizeA, sizes.sizeB));
    return bootloader.transfer->payload.size() + kBootloaderPacket <= largest;
}

Replies AnswerData(FrameState& state, const Report& request)
{
    auto& transfer = state.bootloader.transfer;
    if (!transfer || request[kPacketIndexByte] != static_cast<std::uint8_t>(transfer->packets) ||
        request[kPacketLengthByte] != kBootloaderPacket || !HasRoomForPacket(state.bootloader))
        return {};
    transfer->payload.insert(transfer->payload.end(), request.begin() + kPacketPayloadStart, request.end());
    ++transfer->packets;
    return {ReplyTo(request)};
}

// The padding of the last packet is zeros, so it leaves the sum as the image's payload has it.
Replies AnswerFinish(FrameState& state, const Report& request)
{
    FrameState::Bootloader& bootloader = state.bootloader;
    std::optional<FrameState::Transfer> transfer = std::exchange(bootloader.transfer, std::nullopt);
    if (!transfer || static_cast<std::uint16_t>(PayloadSum(transfer->payload) + transfer->checksum) != 0)
        return {};
    std::vector<std::uint8_t>& payload = transfer->payload;
    if (payload.size() >= 2 && bootloader.versionOffset <= payload.size() - 2) {
        const auto version = static_cast<std::uint16_t>(payload[bootloader.versionOffset] |
                                                        payload[bootloader.versionOffset + 1] << 8);
        state.identity.firmwareVersion = version;
        state.usb.versionNumber = version;
    }
    bootloader.installedPayload = std::move(payload);
    state.Restart(Personality::NormalFirmware);
    return {ReplyTo(request)};
}

}  // namespace

std::span<const Route> BootloaderRoutes()
{
    static const std::vector<Route> routes = {
        RouteFor(commands::BootloaderProbe(), AnswerProbe),
        RouteFor(commands::BootloaderBegin(std::vector<std::uint8_t>(kImagePayloadOffset)), AnswerBegin),
        RouteFor(commands::BootloaderData(0, std::array<std::uint8_t, kBootloaderPacket>{}), AnswerData),
        RouteFor(commands::BootloaderFinish(), AnswerFinish),
    };
    return routes;
}

}  // namespace zorvane::sim_routes
