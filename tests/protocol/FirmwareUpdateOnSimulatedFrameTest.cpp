// A firmware update end to end, driven as the firmware page drives it, against the simulated frame.
#include "ImageFile.h"
#include "LinkFixtures.h"
#include "protocol/FirmwareUpdater.h"
#include "protocol/SendCommand.h"
#include "sim/FirmwareImages.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace zorvane {
namespace {

using namespace std::chrono_literals;
using testing::ImageFile;

constexpr auto kGenerous = 10s;  // long enough never to decide a passing test
constexpr std::uint16_t kNewVersion = 0x0320;

class FirmwareUpdate : public testing::SimulatedLink {
protected:
    // EnterBootloader through the normal firmware, then probes as the page's search timer does
    // until the bootloader answers.
    LinkStatus BringUpBootloader()
    {
        SendCommand(GetDeviceProtocol(), commands::EnterBootloader());  // the frame restarts instead of answering
        LinkStatus probe = link_status::kNoDevice;
        for (const auto deadline = std::chrono::steady_clock::now() + kGenerous;
             probe != link_status::kOk && std::chrono::steady_clock::now() < deadline;
             std::this_thread::sleep_for(20ms))
            probe = Updater().ProbeBootloader();
        return probe;
    }

    // Runs TransferImage on a worker, as the page does, and samples `progress` until it ends.
    LinkStatus TransferWhileWatching(const ImageFile& file, std::vector<float>& seen)
    {
        auto worker = std::async(std::launch::async, [&] { return Updater().TransferImage(file.path()); });
        while (worker.wait_for(1ms) != std::future_status::ready)
            seen.push_back(Updater().progress.load());
        return worker.get();
    }

    // Created on first use, after SetUp has named the platform.
    static FirmwareUpdater& Updater() { return GetFirmwareUpdater(); }
};

TEST_F(FirmwareUpdate, CompleteUpdateBringsTheFrameBackWithTheNewFirmware)
{
    backend->SetReenumerationDelay(100ms);
    DeviceInfo before;
    ASSERT_EQ(QueryDeviceInfo(GetDeviceProtocol(), before), link_status::kOk);
    ASSERT_EQ(before.firmwareVersionText, "0316");
    const auto image = ImageForFrame(State(), kNewVersion);
    const ImageFile file(image);
    const ImageCheck check = CheckFirmwareImage(image, AcceptedSizesFor(0x1606));
    const std::size_t packets = (check.header.payloadLength + 55) / 56;

    ASSERT_EQ(BringUpBootloader(), link_status::kOk);
    ASSERT_EQ(Updater().ReadBootloaderVersion(), 0x1606);
    ASSERT_EQ(Updater().PrepareImage(file.path()), link_status::kOk);
    std::vector<float> seen;
    ASSERT_EQ(TransferWhileWatching(file, seen), link_status::kOk);

    EXPECT_EQ(Updater().progress.load(), 100.0f);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    const float lastPacket = static_cast<float>(packets - 1) * 100.0f / static_cast<float>(packets);
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [&](float p) { return p <= lastPacket || p == 100.0f; }));
    const auto payload = ImagePayload(image, check.header);
    const auto installed = State().bootloader.installedPayload;
    ASSERT_EQ(installed.size(), packets * 56);
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), installed.begin()));

    DeviceInfo after;
    LinkStatus query = link_status::kNoDevice;
    for (const auto deadline = std::chrono::steady_clock::now() + kGenerous;
         query != link_status::kOk && std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(20ms))
        query = QueryDeviceInfo(GetDeviceProtocol(), after);
    ASSERT_EQ(query, link_status::kOk);
    EXPECT_EQ(after.firmwareVersionText, "0320");
    EXPECT_EQ(after.interfacePath, SimulatedHidBackend::kCommandPath);
    EXPECT_EQ(State().running, Personality::NormalFirmware);
}

TEST_F(FirmwareUpdate, NormalRequestsDuringTheTransferAreRefusedWithoutReachingTheBootloader)
{
    backend->SetReenumerationDelay(0ms);
    backend->SetReplyLatency(1ms);  // so that the transfer is still running while the requests come
    const ImageFile file(ImageForFrame(State(), kNewVersion));
    ASSERT_EQ(BringUpBootloader(), link_status::kOk);
    Updater().ReadBootloaderVersion();
    ASSERT_EQ(Updater().PrepareImage(file.path()), link_status::kOk);

    auto worker = std::async(std::launch::async, [&] { return Updater().TransferImage(file.path()); });
    const auto deadline = std::chrono::steady_clock::now() + kGenerous;
    while (Updater().progress.load() < 10.0f && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    // What a re-detecting home page and a removal notice do while the bootloader is open.
    DeviceInfo info;
    EXPECT_EQ(QueryDeviceInfo(GetDeviceProtocol(), info), link_status::kBusy);
    CloseNormalDevice(GetDeviceProtocol());
    EXPECT_EQ(SendCommand(GetDeviceProtocol(), commands::GetRotation()), link_status::kBusy);
    const std::vector<Report> received = backend->ReceivedRequests();

    EXPECT_EQ(worker.get(), link_status::kOk);
    // At 10 % the last couple of hundred requests were all sent during the transfer.
    ASSERT_GE(received.size(), 200u);
    EXPECT_TRUE(std::all_of(received.end() - 200, received.end(),
                            [](const Report& request) { return request[1] == command_code::kBootloader; }));
    EXPECT_EQ(Updater().progress.load(), 100.0f);
}

TEST_F(FirmwareUpdate, UnplugDuringTheTransferEndsItWithTheLastAcknowledgedProgress)
{
    backend->SetReenumerationDelay(0ms);
    backend->SetReplyLatency(1ms);  // so that the transfer is still running when the cable goes
    const ImageFile file(ImageForFrame(State(), kNewVersion));
    ASSERT_EQ(BringUpBootloader(), link_status::kOk);
    Updater().ReadBootloaderVersion();
    ASSERT_EQ(Updater().PrepareImage(file.path()), link_status::kOk);

    auto worker = std::async(std::launch::async, [&] { return Updater().TransferImage(file.path()); });
    const auto deadline = std::chrono::steady_clock::now() + kGenerous;
    while (Updater().progress.load() < 10.0f && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    backend->Unplug();
    ASSERT_EQ(worker.wait_for(kGenerous), std::future_status::ready);
    const LinkStatus status = worker.get();

    EXPECT_TRUE(status == link_status::kWriteFailed || status == link_status::kNoReply) << status;
    // Every packet that reached the frame was answered, the one in flight at the unplug included.
    const auto transfer = State().bootloader.transfer;
    ASSERT_TRUE(transfer) << "nothing was installed";
    const std::size_t acknowledged = transfer->packets;
    const std::size_t packets = (0x20000 - 0x100 + 55) / 56;
    ASSERT_GT(acknowledged, 0u);
    ASSERT_LT(acknowledged, packets);
    EXPECT_EQ(Updater().progress.load(), static_cast<float>(acknowledged - 1) * 100.0f / static_cast<float>(packets));
}

}  // namespace
}  // namespace zorvane
