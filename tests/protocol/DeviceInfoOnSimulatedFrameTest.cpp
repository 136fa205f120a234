#include "FakeHid.h"
#include "protocol/DeviceProtocol.h"
#include "sim/SimulatedHidBackend.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

class OnSimulatedFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetLinkPlatformFactory([this] {
            // A clock 4 s further on at every scan, so that the rescan throttle never holds a test up.
            auto later = [elapsed = std::chrono::steady_clock::duration{}]() mutable {
                return std::chrono::steady_clock::time_point(elapsed += std::chrono::seconds(4));
            };
            return LinkPlatform{backend, std::make_shared<testing::FakeProcessList>(), "zorvane", later};
        });
    }
    std::shared_ptr<SimulatedHidBackend> backend = std::make_shared<SimulatedHidBackend>();
};

TEST_F(OnSimulatedFrame, QueryShowsEveryIdentificationText)
{
    DeviceInfo info;
    ASSERT_EQ(QueryDeviceInfo(GetDeviceProtocol(), info), link_status::kOk);
    EXPECT_EQ(info.modelText, "ZV-IR65T");
    EXPECT_EQ(info.firmwareVersionText + " | " + info.secondVersionText, "0316 | 0102");
    EXPECT_EQ(info.identificationCode + info.identificationSuffix, "5A3C | 1302");
    EXPECT_EQ(info.maxTouchPointsText, "20(F)");
    EXPECT_EQ(BoardLayoutText(info.xBoards, info.yBoards), "[X:64+64+64\u00B7Y:48+48+12]");
    EXPECT_EQ(info.buildTimeText, "2024-05-17 09:41:26");
    EXPECT_EQ(info.vidPidText, "1101&0c21");
    EXPECT_EQ(info.interfacePath, SimulatedHidBackend::kCommandPath);
    EXPECT_EQ(info.xReceiverCount, 192);
    EXPECT_EQ(info.yReceiverCount, 108);
}

TEST_F(OnSimulatedFrame, FaultsEndTheQueryWithTheirStatus)
{
    struct Case {
        const char* name;
        Fault fault;
        LinkStatus status;
    };
    const Case cases[] = {
        {"silent frame", Fault::NoReply(), link_status::kNoReply},
        {"wrong reply code", Fault::WrongReplyCode(), link_status::kNoReply},
        {"refused write", Fault::RefusedWrite(), link_status::kWriteFailed},
        {"code-2 reply", Fault::CodeTwoReply(), link_status::kBadIdentity},
        {"status reply", Fault::StatusReply(0x81), link_status::kBadIdentity},
    };
    for (const auto& c : cases) {
        backend->FailAll(c.fault);
        DeviceInfo info;
        EXPECT_EQ(QueryDeviceInfo(GetDeviceProtocol(), info), c.status) << c.name;
        backend->ClearFaults();
    }
}

TEST_F(OnSimulatedFrame, UnpluggedFrameIsNotFound)
{
    DeviceInfo info;
    ASSERT_EQ(QueryDeviceInfo(GetDeviceProtocol(), info), link_status::kOk);
    backend->Unplug();
    EXPECT_NE(QueryDeviceInfo(GetDeviceProtocol(), info), link_status::kOk);
    EXPECT_FALSE(GetDeviceChannel().IsOpen());
    EXPECT_EQ(GetDeviceProtocol().info().modelText, "ZV-IR65T") << "the last complete record stays";
}

}  // namespace
}  // namespace zorvane
