// The simulated frame behind a real DeviceChannel: the faults that matter most, end to end.
#include "sim/SimulatedHidBackend.h"

#include "link/DeviceChannel.h"
#include "protocol/CommandTable.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zorvane
