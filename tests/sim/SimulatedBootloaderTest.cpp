// The frame's bootloader personality: what it answers, how the frame moves between its two USB
// identities, and what it keeps across a restart.
#include "sim/FirmwareImages.h"
#include "sim/SimulatedHidBackend.h"

#include "link/EventReport.h"
#include "protocol/CommandTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <span>
#include <thread>

namespace zorvane {
namespace {

using namespace std::chrono_literals;

constexpr auto kGenerous = 5s;  // long enough never to decide a passing test

bool Answers(const std::vector<Report>& replies, const Report& request)
{
    return replies.size() == 1 && ClassifyReport(replies.front()) == ReportKind::Command &&
           IsReplyTo(replies.front(), request);
}

FrameState InBootloader()
{
    FrameState state;
    state.running = Personality::Bootloader;
    return state;
}

// The data packets of `payload`, indexed from 0, the last padded with zeros.
std::vector<Report> DataPackets(std::span<const std::uint8_t> payload)
{
    std::vector<Report> packets;
    for (std::size_t at = 0, i = 0; at < payload.size(); at += kBootloaderPacket, ++i) {
        std::array<std::uint8_t, kBootloaderPacket> chunk{};
        std::copy_n(payload.begin() + static_cast<std::ptrdiff_t>(at), std::min(kBootloaderPacket, payload.size() - at),
                    chunk.begin());
        packets.push_back(commands::BootloaderData(i, chunk).request);
    }
    return packets;
}

std::span<const std::uint8_t> PayloadOf(const std::vector<std::uint8_t>& image)
{
    const auto check = CheckFirmwareImage(image, AcceptedSizesFor(FrameState{}.bootloader.versionNumber));
    EXPECT_EQ(check.status, link_status::kOk);
    return ImagePayload(image, check.header);
}

TEST(SimulatedBootloader, EnterBootloaderRestartsTheFrameBeforeItCanAnswer)
{
    SimulatedFrame frame;
    std::vector<Personality> restarts;
    frame.SetRestartListener([&restarts](Personality running) { restarts.push_back(running); });

    Command refused = commands::EnterBootloader();
    refused.request[5] = 0;
    const auto refusal = frame.Answer(refused.request);
    ASSERT_EQ(refusal.size(), 1u);
    EXPECT_EQ(refusal.front()[2], SimulatedFrame::kStatusRejected);
    EXPECT_EQ(frame.running(), Personality::NormalFirmware);

    EXPECT_TRUE(frame.Answer(commands::EnterBootloader().request).empty());
    EXPECT_EQ(frame.running(), Personality::Bootloader);
    EXPECT_EQ(restarts, std::vector<Personality>{Personality::Bootloader});
}

TEST(SimulatedBootloader, AnswersOnlyBootloaderReports)
{
    SimulatedFrame frame(InBootloader());
    const Report probe = commands::BootloaderProbe().request;
    Report unknown = probe;
    unknown[2] = 0x09;

    const auto probed = frame.Answer(probe);
    EXPECT_TRUE(Answers(probed, probe));
    EXPECT_EQ(probed.front()[0], kBootloaderHeader);
    EXPECT_TRUE(frame.Answer(commands::GetDeviceIdentity().request).empty());
    const auto unsupported = frame.Answer(unknown);
    EXPECT_TRUE(Answers(unsupported, unknown));
    EXPECT_EQ(unsupported.front()[2], SimulatedFrame::kStatusUnsupported);
}

TEST(SimulatedBootloader, BeginAcceptsOnlyImagesForThisFrame)
{
    FrameState stranger;
    stranger.bootloader.targetBytes[3] ^= 0xFF;
    const struct {
        const char* name;
        std::vector<std::uint8_t> image;
        std::uint8_t accepted;
    } cases[] = {
        {"own target bytes", ImageForFrame(FrameState{}, 0x0320), 1},
        {"another frame's", ImageForFrame(stranger, 0x0320), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedFrame frame(InBootloader());
        const Report begin = commands::BootloaderBegin(c.image).request;

        const auto replies = frame.Answer(begin);

        ASSERT_TRUE(Answers(replies, begin));
        EXPECT_EQ(replies.front()[5], c.accepted);
        EXPECT_EQ(frame.state().bootloader.transfer.has_value(), c.accepted == 1);
    }
}

TEST(SimulatedBootloader, DataPacketsMustFollowOnFromTheBegin)
{
    const auto image = ImageForFrame(FrameState{}, 0x0320);
    const auto packets = DataPackets(PayloadOf(image).first(300 * kBootloaderPacket));
    Report shortPacket = packets[1];
    shortPacket[6] = 55;
    const struct {
        const char* name;
        bool begun;
        std::vector<Report> sent;
        std::vector<bool> answered;
        std::size_t taken;
    } cases[] = {
        {"in order", true, {packets[0], packets[1], packets[2]}, {true, true, true}, 3},
        {"before a begin", false, {packets[0]}, {false}, 0},
        {"one skipped", true, {packets[0], packets[2], packets[1]}, {true, false, true}, 2},
        {"one repeated", true, {packets[0], packets[0], packets[1]}, {true, false, true}, 2},
        {"length byte not 56", true, {packets[0], shortPacket, packets[1]}, {true, false, true}, 2},
        {"index 0 again after 255", true, packets, std::vector<bool>(300, true), 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedFrame frame(InBootloader());
        if (c.begun)
            frame.Answer(commands::BootloaderBegin(image).request);
        for (std::size_t i = 0; i < c.sent.size(); ++i)
            EXPECT_EQ(Answers(frame.Answer(c.sent[i]), c.sent[i]), c.answered[i]) << i;
        const auto transfer = frame.state().bootloader.transfer;
        EXPECT_EQ(transfer ? transfer->packets : 0, c.taken);
    }
}

// A host that sends on past the largest image is not followed without end.
TEST(SimulatedBootloader, TakesNoMorePacketsThanItsLargestImageHolds)
{
    FrameState state = InBootloader();
    state.bootloader.versionNumber = 0x1305;  // takes images of 0xD000 bytes: room for 950 packets
    SimulatedFrame frame(state);
    frame.Answer(commands::BootloaderBegin(ImageForFrame(FrameState{}, 0x0320)).request);
    const auto packets = DataPackets(std::vector<std::uint8_t>(951 * kBootloaderPacket, 0x11));
    for (std::size_t i = 0; i < 950; ++i)
        ASSERT_TRUE(Answers(frame.Answer(packets[i]), packets[i])) << i;
    EXPECT_TRUE(frame.Answer(packets[950]).empty());
    EXPECT_EQ(frame.state().bootloader.transfer->packets, 950u);
}

TEST(SimulatedBootloader, FinishInstallsOnlyAVerifiedPayload)
{
    const auto image = ImageForFrame(FrameState{}, 0x0320);
    const auto packets = DataPackets(PayloadOf(image));
    auto corrupted = packets;
    corrupted[10][20] ^= 0x40;
    const struct {
        const char* name;
        bool begun;
        std::vector<Report> sent;
        bool installed;
    } cases[] = {
        {"whole payload", true, packets, true},
        {"a payload byte changed", true, corrupted, false},
        {"payload cut short", true, {packets.begin(), packets.end() - 1}, false},
        {"without a begin", false, {}, false},
    };
    const Report finish = commands::BootloaderFinish().request;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedFrame frame(InBootloader());
        if (c.begun)
            frame.Answer(commands::BootloaderBegin(image).request);
        for (const Report& packet : c.sent)
            frame.Answer(packet);

        EXPECT_EQ(Answers(frame.Answer(finish), finish), c.installed);

        const FrameState state = frame.state();
        EXPECT_FALSE(state.bootloader.transfer) << "a finish ends the transfer either way";
        EXPECT_EQ(state.running, c.installed ? Personality::NormalFirmware : Personality::Bootloader);
        EXPECT_EQ(state.identity.firmwareVersion, c.installed ? 0x0320 : 0x0316);
        EXPECT_EQ(state.usb.versionNumber, c.installed ? 0x0320 : 0x0316);
        if (c.installed) {
            const auto payload = PayloadOf(image);
            ASSERT_GE(state.bootloader.installedPayload.size(), payload.size());
            EXPECT_TRUE(std::equal(payload.begin(), payload.end(), state.bootloader.installedPayload.begin()));
        }
    }
}

// A frame with something of its own in RAM and in flash: an applied record other than the committed
// one, scan mode on and the LED off; the nine-point kind and settings away from their defaults.
FrameState BeforeARestart(Personality running)
{
    FrameState state;
    state.running = running;
    state.calibration.kind = CalibrationKind::NinePoint;
    state.calibration.stored.twoPoint[0] = 140;
    state.calibration.stored.ninePoint[0] = 55;
    state.calibration.current.twoPoint[0] = 170;
    state.calibration.current.ninePoint[0] = 70;
    state.settings.rotation = 2;
    state.settings.reversed = 1;
    state.settings.touchMode = touch_mode::kMouse;
    state.settings.scanMode = true;
    state.settings.led = 0;
    return state;
}

TEST(SimulatedRestart, EveryRestartLosesWhatTheFrameHoldsInRamAndKeepsWhatItStored)
{
    const auto image = ImageForFrame(FrameState{}, 0x0320);
    const auto replug = [](SimulatedHidBackend& backend) {
        backend.Unplug();
        backend.Replug();
    };
    const struct {
        const char* name;
        Personality before;
        std::function<void(SimulatedHidBackend&)> restart;
        Personality after;
    } cases[] = {
        {"re-plug", Personality::NormalFirmware, replug, Personality::NormalFirmware},
        {"re-plug during a transfer",
         Personality::Bootloader,
         [&](SimulatedHidBackend& backend) {
             backend.frame().Answer(commands::BootloaderBegin(image).request);
             replug(backend);
         },
         Personality::Bootloader},
        {"entering the bootloader", Personality::NormalFirmware,
         [](SimulatedHidBackend& backend) { backend.frame().Answer(commands::EnterBootloader().request); },
         Personality::Bootloader},
        {"the bootloader's finish",
         Personality::Bootloader,
         [&](SimulatedHidBackend& backend) {
             backend.frame().Answer(commands::BootloaderBegin(image).request);
             for (const Report& packet : DataPackets(PayloadOf(image)))
                 backend.frame().Answer(packet);
             backend.frame().Answer(commands::BootloaderFinish().request);
         },
         Personality::NormalFirmware},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FrameState before = BeforeARestart(c.before);
        SimulatedHidBackend backend(std::make_shared<SimulatedFrame>(before));
        backend.SetReenumerationDelay(0ms);

        c.restart(backend);

        const FrameState after = backend.frame().state();
        EXPECT_EQ(after.running, c.after);
        EXPECT_EQ(after.calibration.current, before.calibration.stored) << "the written records are lost";
        EXPECT_EQ(after.calibration.stored, before.calibration.stored);
        EXPECT_EQ(after.calibration.kind, CalibrationKind::NinePoint);
        EXPECT_EQ(after.settings.rotation, 2);
        EXPECT_EQ(after.settings.reversed, 1);
        EXPECT_EQ(after.settings.touchMode, touch_mode::kMouse);
        EXPECT_FALSE(after.settings.scanMode);
        EXPECT_EQ(after.settings.led, 1);
        EXPECT_FALSE(after.bootloader.transfer);
    }
}

class BootloaderOnTheBus : public ::testing::Test {
protected:
    // Writes `request` and reads what comes back within `wait`.
    static ReadResult Exchange(HidHandle& handle, const Report& request, Report& reply,
                               std::chrono::milliseconds wait = kGenerous)
    {
        if (!handle.Write(request, 1s))
            return {ReadOutcome::Failed};
        return handle.Read(reply, wait);
    }

    static void WaitForInterfaces(SimulatedHidBackend& backend, const std::vector<std::string>& paths)
    {
        const auto deadline = std::chrono::steady_clock::now() + kGenerous;
        while (backend.ListInterfaces() != paths && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        EXPECT_EQ(backend.ListInterfaces(), paths);
    }

    const std::vector<std::string> normalPaths = {"/dev/hidraw0&col01", "/dev/hidraw0&col02", "/dev/hidraw0&col03",
                                                  "/dev/hidraw1"};
    const std::vector<std::string> bootloaderPaths = {"/dev/hidraw1", "/dev/hidraw2"};
};

TEST_F(BootloaderOnTheBus, FrameRestartsIntoItsBootloaderAndBackWithTheNewFirmware)
{
    SimulatedHidBackend backend;
    backend.SetReenumerationDelay(0ms);
    backend.SetReplyLatency(0ms);  // some 2300 packets
    const auto normal = backend.Open(SimulatedHidBackend::kCommandPath).handle;
    const auto touch = backend.Open("/dev/hidraw0&col02").handle;
    Report reply{};

    EXPECT_EQ(Exchange(*normal, commands::EnterBootloader().request, reply).outcome, ReadOutcome::Failed);
    Report ignored{};
    EXPECT_EQ(touch->Read(ignored, kGenerous).outcome, ReadOutcome::Failed) << "every collection went";

    ASSERT_EQ(backend.ListInterfaces(), bootloaderPaths);
    const auto attributes = backend.GetAttributes(SimulatedHidBackend::kBootloaderPath);
    ASSERT_TRUE(attributes);
    EXPECT_EQ(*attributes, (HidAttributes{0x1101, 0xFFFF, 0x1606}));
    EXPECT_FALSE(backend.GetAttributes(SimulatedHidBackend::kCommandPath));

    const auto bootloader = backend.Open(SimulatedHidBackend::kBootloaderPath).handle;
    ASSERT_NE(bootloader, nullptr);
    const auto image = ImageForFrame(backend.frame().state(), 0x0320);
    std::vector<Report> requests = {commands::BootloaderProbe().request, commands::BootloaderBegin(image).request};
    const auto packets = DataPackets(PayloadOf(image));
    requests.insert(requests.end(), packets.begin(), packets.end());
    requests.push_back(commands::BootloaderFinish().request);
    for (const Report& request : requests) {
        ASSERT_EQ(Exchange(*bootloader, request, reply).outcome, ReadOutcome::Data);
        ASSERT_TRUE(IsReplyTo(reply, request));
    }
    EXPECT_EQ(bootloader->Read(reply, kGenerous).outcome, ReadOutcome::Failed) << "after the finish's reply";

    ASSERT_EQ(backend.ListInterfaces(), normalPaths);
    EXPECT_EQ(backend.GetAttributes(SimulatedHidBackend::kCommandPath)->versionNumber, 0x0320);
}

TEST_F(BootloaderOnTheBus, NewInterfacesAppearOnlyAfterTheReenumerationDelay)
{
    SimulatedHidBackend backend;
    backend.SetReenumerationDelay(200ms);
    const auto handle = backend.Open(SimulatedHidBackend::kCommandPath).handle;

    ASSERT_TRUE(handle->Write(commands::EnterBootloader().request, 1s));

    EXPECT_EQ(backend.ListInterfaces(), std::vector<std::string>{"/dev/hidraw1"});
    WaitForInterfaces(backend, bootloaderPaths);
}

TEST_F(BootloaderOnTheBus, FaultsAndUnplugWorkOnTheBootloader)
{
    SimulatedHidBackend backend(std::make_shared<SimulatedFrame>(InBootloader()));
    ASSERT_EQ(backend.ListInterfaces(), bootloaderPaths);
    const auto handle = backend.Open(SimulatedHidBackend::kBootloaderPath).handle;
    const Report probe = commands::BootloaderProbe().request;
    Report reply{};

    backend.FailNext(Fault::NoReply());
    EXPECT_EQ(Exchange(*handle, probe, reply, 50ms).outcome, ReadOutcome::TimedOut);
    backend.FailNext(Fault::WrongReplyCode());
    ASSERT_EQ(Exchange(*handle, probe, reply).outcome, ReadOutcome::Data);
    EXPECT_FALSE(IsReplyTo(reply, probe));

    backend.Unplug();
    EXPECT_EQ(backend.ListInterfaces(), std::vector<std::string>{"/dev/hidraw1"});
    EXPECT_EQ(Exchange(*handle, probe, reply).outcome, ReadOutcome::Failed);

    backend.Replug();
    EXPECT_EQ(backend.ListInterfaces(), bootloaderPaths) << "a frame in its bootloader comes back in it";
    const auto fresh = backend.Open(SimulatedHidBackend::kBootloaderPath).handle;
    ASSERT_EQ(Exchange(*fresh, probe, reply).outcome, ReadOutcome::Data);
    EXPECT_TRUE(IsReplyTo(reply, probe));
}

}  // namespace
}  // namespace zorvane
