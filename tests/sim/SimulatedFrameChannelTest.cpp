// The simulated frame behind a real DeviceChannel: the faults that matter most, end to end.
#include "sim/SimulatedHidBackend.h"

#include "link/DeviceChannel.h"
#include "protocol/CommandTable.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>

namespace zorvane {
namespace {

class NoProcesses : public ProcessList {
public:
    std::optional<bool> IsRunning(const std::string&) override { return false; }
};

class SimulatedFrameChannel : public ::testing::Test {
protected:
    void SetUp() override { channel.ApplyFilter(NormalFirmwareFilter()); }

    LinkStatus Send(const Command& command, int timeoutMs = kOrdinaryTimeoutMs)
    {
        Report reply{};
        return channel.Transact(timeoutMs, command.request, reply);
    }

    std::shared_ptr<SimulatedHidBackend> sim = std::make_shared<SimulatedHidBackend>();
    DeviceChannel channel{LinkPlatform{sim, std::make_shared<NoProcesses>(), "zorvane"}};
};

TEST_F(SimulatedFrameChannel, TransactionOpensTheCommandCollectionAndGetsTheReply)
{
    const Command identity = commands::GetDeviceIdentity();
    Report reply{};

    EXPECT_EQ(channel.Transact(identity.timeoutMs, identity.request, reply), link_status::kOk);

    EXPECT_EQ(reply[2], 0x80);
    EXPECT_EQ(reply[8] | reply[9] << 8, sim->frame().state().identity.identificationCode);
    EXPECT_EQ(channel.filter().devicePath, SimulatedHidBackend::kCommandPath);
    EXPECT_EQ(channel.filter().versionNumber, sim->frame().usbAttributes().versionNumber);
}

TEST_F(SimulatedFrameChannel, NoReplyIsSentTwiceThenGivesUp)
{
    sim->FailAll(Fault::NoReply());

    EXPECT_EQ(Send(commands::GetModelName(), 100), link_status::kNoReply);

    const auto received = sim->ReceivedRequests();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], commands::GetModelName().request);
    EXPECT_EQ(received[1], commands::GetModelName().request);
    EXPECT_FALSE(channel.IsOpen());
}

TEST_F(SimulatedFrameChannel, UnplugFailsTheTransactionAndClosesTheHandle)
{
    ASSERT_EQ(Send(commands::GetModelName()), link_status::kOk);

    sim->Unplug();

    EXPECT_EQ(Send(commands::GetModelName()), link_status::kWriteFailed);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(sim->OpenHandleCount(), 0u);
}

TEST_F(SimulatedFrameChannel, ReplugIsFoundByTheNextTransaction)
{
    DeviceFilter unthrottled = NormalFirmwareFilter();
    unthrottled.rescanThrottle = 0;
    channel.ApplyFilter(unthrottled);
    ASSERT_EQ(Send(commands::GetModelName()), link_status::kOk);
    sim->Unplug();
    ASSERT_NE(Send(commands::GetModelName()), link_status::kOk);

    sim->Replug();

    EXPECT_EQ(Send(commands::GetModelName()), link_status::kOk);
    EXPECT_TRUE(channel.IsOpen());
    EXPECT_EQ(sim->OpenHandleCount(), 1u);
}

std::array<std::atomic<int>, 6> penSlots{};

void RecordPenSlots(int s1, int s2, int s3, int s4, int s5, int s6)
{
    const int slots[] = {s1, s2, s3, s4, s5, s6};
    for (std::size_t i = 0; i < penSlots.size(); ++i)
        penSlots[i] = slots[i];
}

TEST_F(SimulatedFrameChannel, PenTrayReportReachesTheCallback)
{
    channel.penTrayCallback = RecordPenSlots;
    ASSERT_EQ(Send(commands::GetModelName()), link_status::kOk);  // opens the command collection

    ASSERT_TRUE(sim->SendPenTray({1, 0, 1, 0, 2, 255}));

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (penSlots[5] == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const std::array<int, 6> received = {penSlots[0], penSlots[1], penSlots[2], penSlots[3], penSlots[4], penSlots[5]};
    EXPECT_EQ(received, (std::array<int, 6>{2, 1, 2, 1, 3, 256}));
}

}  // namespace
}  // namespace zorvane
