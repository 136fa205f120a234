#include "FirmwareUpdater.h"

#include "DeviceProtocol.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <thread>
#include <utility>

namespace zorvane {
namespace {

using namespace std::chrono_literals;

// Lets the bootloader settle the last packet before it is told to finish.
constexpr auto kPauseBeforeFinish = 100ms;
constexpr std::uint8_t kImageAccepted = 1;

}  // namespace

void FirmwareUpdater::SelectBootloader()
{
    progress = 0.0f;
    DeviceChannel& channel = GetDeviceChannel();
    channel_ = &channel;
    channel.ApplyFilter(BootloaderFilter());
}

LinkStatus FirmwareUpdater::ProbeBootloader()
{
    SelectBootloader();
    Report reply;
    return Exchange(commands::BootloaderProbe(), reply);
}

std::int32_t FirmwareUpdater::ReadBootloaderVersion()
{
    const DeviceFilter filter = channel_.load()->filter();
    std::lock_guard guard(lock_);
    bootFilter_ = filter;
    acceptedSizes_ = AcceptedSizesFor(filter.versionNumber);
    return filter.versionNumber;
}

LinkStatus FirmwareUpdater::PrepareImage(const std::filesystem::path& path)
{
    SelectBootloader();
    {
        std::lock_guard guard(lock_);
        begunImage_.clear();
    }
    LoadedImage image = LoadCheckedImage(path);
    if (image.status != link_status::kOk)
        return image.status;

    Report reply;
    if (const LinkStatus status = Exchange(commands::BootloaderBegin(image.bytes), reply))
        return status;
    if (reply[5] != kImageAccepted)
        return link_status::kImageRejected;
    std::lock_guard guard(lock_);
    begunImage_ = std::move(image.bytes);
    return link_status::kOk;
}

LinkStatus FirmwareUpdater::TransferImage(const std::filesystem::path& path, std::stop_token stop)
{
    const NormalTrafficHold hold(GetDeviceProtocol());
    SelectBootloader();
    // Each transfer needs its own accepted begin, and sends nothing but the begun image: a file
    // changed since, even into another valid image, is never flashed.
    std::vector<std::uint8_t> begun;
    {
        std::lock_guard guard(lock_);
        begun = std::exchange(begunImage_, {});
    }
    const LoadedImage image = LoadCheckedImage(path);
    if (image.status != link_status::kOk)
        return image.status;
    if (begun != image.bytes)
        return link_status::kImageInvalid;

    if (const LinkStatus status = SendPayload(ImagePayload(image.bytes, image.header), stop))
        return status;
    std::this_thread::sleep_for(kPauseBeforeFinish);
    Report reply;
    if (const LinkStatus status = Exchange(commands::BootloaderFinish(), reply))
        return status;
    // The frame now restarts as the normal firmware: the next request must open that, not fail on
    // the bootloader's dead interface.
    channel_.load()->CloseDeviceHandle();
    progress = 100.0f;
    return link_status::kOk;
}

LinkStatus FirmwareUpdater::SendPayload(std::span<const std::uint8_t> payload, const std::stop_token& stop)
{
    const std::size_t packets = (payload.size() + kBootloaderPacket - 1) / kBootloaderPacket;
    for (std::size_t i = 0; i < packets; ++i) {
        if (stop.stop_requested())
            return link_status::kWriteFailed;
        std::array<std::uint8_t, kBootloaderPacket> packet{};  // the last one is padded with zeros
        const auto chunk = payload.subspan(i * kBootloaderPacket);
        std::copy_n(chunk.begin(), std::min(chunk.size(), kBootloaderPacket), packet.begin());
        Report reply;
        if (const LinkStatus status = Exchange(commands::BootloaderData(i, packet), reply))
            return status;
        progress = static_cast<float>(i) * 100.0f / static_cast<float>(packets);
    }
    return link_status::kOk;
}

DeviceFilter FirmwareUpdater::bootFilter() const
{
    std::lock_guard guard(lock_);
    return bootFilter_;
}

AcceptedSizes FirmwareUpdater::acceptedSizes() const
{
    std::lock_guard guard(lock_);
    return acceptedSizes_;
}

FirmwareUpdater::LoadedImage FirmwareUpdater::Unloaded(LinkStatus status)
{
    LoadedImage image;
    image.status = status;
    return image;
}

FirmwareUpdater::LoadedImage FirmwareUpdater::LoadCheckedImage(const std::filesystem::path& path) const
{
    const AcceptedSizes sizes = acceptedSizes();
    std::ifstream file(path, std::ios::binary);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!file || error)
        return Unloaded(link_status::kImageUnreadable);
    // The size alone can rule a file out; its contents are not read then.
    if (!IsAcceptedSize(size, sizes))
        return Unloaded(link_status::kImageInvalid);

    LoadedImage image;
    image.bytes.resize(static_cast<std::size_t>(size));
    if (!file.read(reinterpret_cast<char*>(image.bytes.data()), static_cast<std::streamsize>(size)))
        return Unloaded(link_status::kImageUnreadable);
    const ImageCheck check = CheckFirmwareImage(image.bytes, sizes);
    image.status = check.status;
    image.header = check.header;
    return image;
}

LinkStatus FirmwareUpdater::Exchange(const Command& command, Report& reply)
{
    reply.fill(0);
    return channel_.load()->Transact(command.timeoutMs, command.request, reply);
}

namespace {

FirmwareUpdater& CreateFirmwareUpdater()
{
    static FirmwareUpdater updater;
    updater.SelectBootloader();
    return updater;
}

}  // namespace

FirmwareUpdater& GetFirmwareUpdater()
{
    static FirmwareUpdater& updater = CreateFirmwareUpdater();
    return updater;
}

}  // namespace zorvane
