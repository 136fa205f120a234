// zorvanectl's commands in this process, on a simulated frame the test can unplug, interrupt or make
// refuse, mid-command.

#include "ImageFile.h"
#include "LinkFixtures.h"
#include "cli/Interrupt.h"
#include "cli/Zorvanectl.h"
#include "protocol/FirmwareUpdater.h"
#include "sim/FirmwareImages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <sstream>
#include <thread>

namespace zorvane {
namespace {

using namespace std::chrono_literals;
using testing::ImageFile;

constexpr auto kGenerous = 30s;
constexpr std::uint16_t kNewVersion = 0x0320;

bool WaitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + kGenerous;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

class ZorvanectlFault : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::path(::testing::TempDir()) / ("zorvanectl-fault-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        backend->SetReplyLatency(0ms);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // The program on `backend`, as `zorvanectl --simulated ARGS` runs it, on a thread of its own.
    std::future<int> Start(std::vector<std::string> args)
    {
        args.insert(args.begin(), "--simulated");
        return std::async(std::launch::async, [this, args] {
            cli::CliIo io{out, err, false};
            const auto platform = [this] { return testing::PlatformWithoutThrottle(backend); };
            return cli::RunZorvanectl(args, io, {platform, platform});
        });
    }

    int RunToEnd(std::vector<std::string> args) { return Start(std::move(args)).get(); }

    FrameState State() const { return backend->frame().state(); }

    std::shared_ptr<SimulatedHidBackend> backend = std::make_shared<SimulatedHidBackend>();
    std::ostringstream out;  // read once the program has ended
    std::ostringstream err;

private:
    std::filesystem::path folder_;
};

TEST_F(ZorvanectlFault, FirmwareUpdateSurvivesOneUnplugDuringTheTransfer)
{
    backend->SetReplyLatency(1ms);  // so that the transfer is still running when the cable goes
    const ImageFile file(ImageForFrame(State(), kNewVersion));
    std::atomic<bool> started{false};
    backend->WatchRequests([&started](const Report&) { started = true; });
    std::future<int> update = Start({"firmware", file.path().string()});
    // The updater is reached only once the program has chosen its platform and sent its first request.
    ASSERT_TRUE(WaitFor([&started] { return started.load(); }));
    ASSERT_TRUE(WaitFor([] { return GetFirmwareUpdater().progress.load() >= 5.0f; }));
    backend->Unplug();
    // The restart searches for the bootloader afresh, which resets the progress.
    ASSERT_TRUE(WaitFor([] { return GetFirmwareUpdater().progress.load() == 0.0f; }));
    backend->Replug();  // back in its bootloader
    ASSERT_EQ(update.wait_for(kGenerous), std::future_status::ready);
    EXPECT_EQ(update.get(), 0) << err.str();
    EXPECT_NE(err.str().find("connection lost"), std::string::npos) << err.str();
    EXPECT_NE(out.str().find("firmwareVersion: 0320"), std::string::npos) << out.str();
    EXPECT_EQ(State().running, Personality::NormalFirmware);
}

TEST_F(ZorvanectlFault, InterruptedTransferStopsAtAPacketAndSaysTheFrameWaitsInItsBootloader)
{
    backend->SetReplyLatency(1ms);  // the transfer outlasts the interval at which the command looks at Ctrl+C
    const ImageFile file(ImageForFrame(State(), kNewVersion));
    backend->WatchRequests([](const Report& request) {
        if (request[0] == 0xFB && request[2] == 0x02 && request[5] == 30)  // data packet 30
            cli::RequestInterrupt();
    });
    EXPECT_EQ(RunToEnd({"firmware", file.path().string()}), 130);
    EXPECT_NE(err.str().find("at a packet boundary"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("waits in its bootloader"), std::string::npos) << err.str();
    const FrameState frame = State();
    EXPECT_EQ(frame.running, Personality::Bootloader);
    ASSERT_TRUE(frame.bootloader.transfer);
    EXPECT_GT(frame.bootloader.transfer->packets, 30u);
}

TEST_F(ZorvanectlFault, ChangeTheFrameCannotTakeIsReportedRefusedAndTheOthersStillSent)
{
    FrameState frame = State();
    frame.settings.reverseSupported = false;
    backend->frame().SetState(frame);
    EXPECT_EQ(RunToEnd({"settings", "--reverse", "on", "--touch-mode", "touch"}), 6);
    EXPECT_NE(err.str().find("the frame refused reverse on"), std::string::npos) << err.str();
    EXPECT_NE(out.str().find("setting: reverse  value: on  accepted: false"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("setting: touch-mode  value: touch  accepted: true"), std::string::npos) << out.str();
    EXPECT_EQ(State().settings.touchMode, 2);
}

TEST_F(ZorvanectlFault, FrameThisUserMayNotOpenSaysHowToGetAccess)
{
    backend->SetAccessDenied(true);
    EXPECT_EQ(RunToEnd({"info"}), 4);
    EXPECT_NE(err.str().find("udev rule 70-zorvane.rules"), std::string::npos) << err.str();
}

TEST_F(ZorvanectlFault, FrameThatStopsAnsweringIsRefusedNotMissing)
{
    backend->WatchRequests([this](const Report& request) {
        if (request[1] == command_code::kCalibration && request[2] == 0x03)  // the record read
            backend->FailAll(Fault::NoReply());
    });
    EXPECT_EQ(RunToEnd({"calibration", "show"}), 6);
    EXPECT_NE(err.str().find("calibration"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace zorvane
