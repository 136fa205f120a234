#include "cli/Command.h"
#include "cli/Frame.h"
#include "cli/Interrupt.h"
#include "cli/ProgressLine.h"
#include "protocol/FirmwareUpdater.h"
#include "protocol/ImageRefusal.h"
#include "protocol/SendCommand.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <thread>

namespace zorvane::cli {
namespace {

using namespace std::chrono_literals;

// The firmware page's pacing: a probe every 200 ms, at most five restarts after a failed transfer.
constexpr auto kProbeInterval = 200ms;
constexpr int kProbeAttempts = 50;  // about ten seconds for the frame to come back as its bootloader
constexpr int kMaxRestarts = 5;
constexpr auto kProgressInterval = 50ms;
// A frame takes about 300 ms to come back on the bus as its normal firmware; a scan before that would
// find nothing and hold the next scan back by the channel's rescan throttle of three seconds.
constexpr auto kReturnPause = 600ms;
constexpr auto kReturnInterval = 200ms;
constexpr int kReturnAttempts = 50;  // about ten seconds for the new firmware to come back

const char* const kRunAgain = "run 'zorvanectl firmware FILE' again to finish the update";

Outcome Interrupted(const std::string& state)
{
    return {ExitCode::Interrupted, "interrupted " + state};
}

std::string Hex4(std::int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%04x", static_cast<unsigned>(value));
    return text;
}

// Asks the normal firmware into its bootloader and probes until the bootloader answers.
std::optional<Outcome> FindBootloader()
{
    FirmwareUpdater& updater = GetFirmwareUpdater();
    for (int attempt = 0; attempt < kProbeAttempts; ++attempt) {
        if (InterruptRequested())
            return Interrupted("while searching for the bootloader; the frame may be waiting in it: " +
                               std::string(kRunAgain));
        // The frame restarts instead of answering, so the result says nothing.
        SendCommand(GetDeviceProtocol(), commands::EnterBootloader());
        if (updater.ProbeBootloader() == link_status::kOk)
            return std::nullopt;
        std::this_thread::sleep_for(kProbeInterval);
    }
    return DeviceFailure(link_status::kNoDevice, "searching for the frame's bootloader");
}

// Runs the transfer on a worker while this thread draws the progress; Ctrl+C stops it before its next
// packet.
LinkStatus Transfer(const std::filesystem::path& path, CliIo& io, bool& interrupted)
{
    FirmwareUpdater& updater = GetFirmwareUpdater();
    std::promise<LinkStatus> result;
    std::future<LinkStatus> done = result.get_future();
    std::jthread worker([&updater, &path, &result, hold = NormalTrafficHold(GetDeviceProtocol())](std::stop_token stop) {
        result.set_value(updater.TransferImage(path, stop));
    });
    ProgressLine progress(io.err, io.terminal);
    while (done.wait_for(kProgressInterval) != std::future_status::ready) {
        progress.Show(updater.progress.load());
        if (InterruptRequested() && !worker.get_stop_token().stop_requested())
            worker.request_stop();
    }
    const LinkStatus status = done.get();
    progress.Show(updater.progress.load());
    progress.Finish();
    interrupted = worker.get_stop_token().stop_requested() && status != link_status::kOk;
    return status;
}

// After the finish the frame restarts as its normal firmware, with the new version.
std::optional<DeviceInfo> WaitForNormalFirmware()
{
    std::this_thread::sleep_for(kReturnPause);
    for (int attempt = 0; attempt < kReturnAttempts && !InterruptRequested(); ++attempt) {
        DeviceInfo info;
        if (QueryDeviceInfo(GetDeviceProtocol(), info) == link_status::kOk)
            return info;
        std::this_thread::sleep_for(kReturnInterval);
    }
    return std::nullopt;
}

Outcome RunFirmware(const Invocation& invocation, CliIo& io)
{
    if (invocation.operands.size() != 1)
        return UsageError("usage: zorvanectl firmware FILE");
    const std::filesystem::path path = invocation.operands.front();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {ExitCode::BadFile, path.string() + ": no such firmware file"};

    FirmwareUpdater& updater = GetFirmwareUpdater();
    int restarts = 0;
    std::int32_t version = 0;
    for (;; ++restarts) {
        if (auto fault = FindBootloader())
            return *fault;
        version = updater.ReadBootloaderVersion();
        io.err << "bootloader version " << Hex4(version) << "\n";
        const LinkStatus prepared = updater.PrepareImage(path);
        if (const std::string_view refusal = ImageRefusalText(prepared); !refusal.empty()) {
            const ExitCode code = prepared == link_status::kImageRejected ? ExitCode::Refused : ExitCode::BadFile;
            return {code, path.string() + ": " + std::string(refusal) + " (status " + std::to_string(prepared) +
                              "); the frame waits in its bootloader: run the command again with a good image"};
        }
        LinkStatus transferred = prepared;
        bool interrupted = false;
        if (prepared == link_status::kOk) {
            io.err << "image accepted, sending\n";
            transferred = Transfer(path, io, interrupted);
        }
        if (transferred == link_status::kOk)
            break;
        if (interrupted || InterruptRequested()) {
            char percent[16];
            std::snprintf(percent, sizeof percent, "%.0f%%", updater.progress.load());
            return Interrupted(std::string("at a packet boundary after ") + percent +
                               ": the frame waits in its bootloader for an image; " + kRunAgain);
        }
        if (restarts == kMaxRestarts)
            return DeviceFailure(transferred, "sending the firmware (after " + std::to_string(kMaxRestarts) +
                                                  " restarts; the frame waits in its bootloader: " + kRunAgain + ")");
        io.err << "connection lost (status " << transferred << "), starting again\n";
    }
    io.err << "transfer finished, waiting for the new firmware\n";
    const std::optional<DeviceInfo> info = WaitForNormalFirmware();
    if (!info && InterruptRequested())
        return Interrupted("after the whole image was sent: the frame restarts with its new firmware");
    if (!info)
        return {ExitCode::NoFrame, "the transfer finished but the frame did not come back as its normal firmware"};
    Emit(invocation, io,
         JsonValue::Object{{"updated", path.string()},
                           {"bootloaderVersion", Hex4(version)},
                           {"restarts", restarts},
                           {"version", info->firmwareVersionText + " | " + info->secondVersionText},
                           {"firmwareVersion", info->firmwareVersionText}});
    return Outcome::Ok();
}

}  // namespace

const CommandSpec& FirmwareCommand()
{
    static const CommandSpec command{
        "firmware",
        "flash a firmware image (.bin) through the frame's bootloader",
        "Usage: zorvanectl [--simulated] [--json] firmware FILE\n"
        "\n"
        "The whole update of the firmware page: the frame restarts into its bootloader, the bootloader's\n"
        "version decides the image sizes it takes, the image is checked (size, payload length, checksum)\n"
        "and offered to the bootloader, then sent in 56-byte packets and finished; zorvanectl waits for\n"
        "the frame to come back with its new firmware and prints the new version. Progress goes to\n"
        "standard error: a bar on a terminal, NN% lines otherwise. A lost connection starts the update\n"
        "again, at most 5 times.\n"
        "\n"
        "A refused image ends with exit status 5 (cannot be opened, format error) or 6 (does not match\n"
        "the frame). Ctrl+C stops the transfer after the packet under way and says what state the frame\n"
        "is left in: a frame waiting in its bootloader is recovered by running the command again.\n",
        {},
        RunFirmware,
    };
    return command;
}

}  // namespace zorvane::cli
