#pragma once

#include "CommandTable.h"
#include "FirmwareImage.h"
#include "link/DeviceChannel.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <stop_token>
#include <vector>

namespace zorvane {

// Re-flashes the frame through its bootloader: probe, version, image check and begin, then the
// data packets and the finish. One per process (GetFirmwareUpdater). The firmware page calls the
// first steps on its own thread and TransferImage on a worker, while its timer reads `progress`.
class FirmwareUpdater {
public:
    // Transfer progress in percent: 0 after every SelectBootloader, exactly 100 only after a
    // successful finish; a failed transfer leaves the value of the last acknowledged packet.
    std::atomic<float> progress{0.0f};

    // Resets `progress`, makes sure the channel exists and points its next scan at the bootloader.
    // An open interface stays open.
    void SelectBootloader();
    // SelectBootloader, then one BootloaderProbe; 0 once the bootloader answers.
    LinkStatus ProbeBootloader();
    // The version number of the interface the last probe opened; it decides the accepted sizes.
    std::int32_t ReadBootloaderVersion();
    // Checks the image file and has the bootloader begin with it: 60 unreadable, 61 wrong size,
    // payload or checksum, 62 refused by the bootloader, or the failed transaction's status.
    LinkStatus PrepareImage(const std::filesystem::path& path);
    // Sends the payload of the image PrepareImage has just begun, then finishes. The file is read
    // and checked again: when it is no longer exactly the begun image nothing is sent (61). A stop
    // requested through `stop` ends the transfer before its next packet, as a failed write would.
    LinkStatus TransferImage(const std::filesystem::path& path, std::stop_token stop = {});

    // The channel's filter as ReadBootloaderVersion found it.
    DeviceFilter bootFilter() const;
    AcceptedSizes acceptedSizes() const;

private:
    struct LoadedImage {
        LinkStatus status = link_status::kOk;
        std::vector<std::uint8_t> bytes;
        FirmwareImageHeader header;
    };

    static LoadedImage Unloaded(LinkStatus status);
    LoadedImage LoadCheckedImage(const std::filesystem::path& path) const;
    LinkStatus Exchange(const Command& command, Report& reply);
    LinkStatus SendPayload(std::span<const std::uint8_t> payload, const std::stop_token& stop);

    std::atomic<DeviceChannel*> channel_{nullptr};
    mutable std::mutex lock_;                // the page's thread and the transfer worker both get here
    DeviceFilter bootFilter_;                // guarded by lock_
    AcceptedSizes acceptedSizes_;            // guarded by lock_
    std::vector<std::uint8_t> begunImage_;   // guarded by lock_: the file the bootloader last accepted
};

// Created, with SelectBootloader, by the first call; lives until the process ends.
FirmwareUpdater& GetFirmwareUpdater();

}  // namespace zorvane
