#include "FakeHid.h"
#include "protocol/DeviceProtocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <mutex>

namespace zorvane {
namespace {

using testing::FakeHandle;
using testing::FakeHid;
using testing::FakeProcessList;

// A frame that answers the four identification commands; each test runs in a process of its own,
// so the process-wide channel and protocol start fresh.
struct ScriptedFrame {
    std::mutex lock;
    std::vector<int> commandsSeen;  // request byte 1 and 2 as one number
    std::uint8_t identityCode = 0x80;
    bool identityAsStatusReply = false;
    bool axisAnswers = true;

    void Answer(const Report& request, FakeHandle& handle)
    {
        std::lock_guard guard(lock);
        commandsSeen.push_back(request[1] << 8 | request[2]);
        Report r{};
        r[0] = 0xFD;
        r[1] = request[1];
        r[2] = static_cast<std::uint8_t>(request[2] + 0x80);
        switch (request[1] << 8 | request[2]) {
        case 0xA300:
            r[2] = identityCode;
            if (identityAsStatusReply)
                r[1] = 0x55, r[5] = 0xA3, r[6] = 0x00;
            r[8] = 0xab, r[9] = 0x12, r[10] = 1, r[11] = 20;
            r[18] = 0x11, r[19] = 0x01, r[20] = 0x02, r[21] = 0x00;
            break;
        case 0xA301:
            r[3] = 5;
            std::memcpy(&r[5], "ZV65T", 5);
            break;
        case 0xA500:
            r[6] = 192, r[8] = 108;
            std::memcpy(&r[16], "AAA\0AB12", 8);
            break;
        case 0xA810:
            if (!axisAnswers)
                return;
            r[10] = 7;
            break;
        }
        handle.Push(r);
    }
};

class QueryDeviceInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hid = std::make_shared<FakeHid>(std::vector<testing::FakeInterface>{
            {"/dev/hidraw3&col01", {0x1101, 0x0002, 0x0100}}, {"/dev/hidraw3&col03", {0x1101, 0x0002, 0x0100}}});
        hid->responder = [this](const Report& request, FakeHandle& handle) { frame.Answer(request, handle); };
        SetLinkPlatformFactory([this] {
            return LinkPlatform{hid, std::make_shared<FakeProcessList>(), "zorvane"};
        });
    }

    std::vector<int> Seen()
    {
        std::lock_guard guard(frame.lock);
        return frame.commandsSeen;
    }

    ScriptedFrame frame;
    std::shared_ptr<FakeHid> hid;
};

TEST_F(QueryDeviceInfoTest, FillsTheRecordAndSharesIt)
{
    DeviceInfo info;
    ASSERT_EQ(QueryDeviceInfo(GetDeviceProtocol(), info), link_status::kOk);
    EXPECT_EQ(info.identificationCode, "12AB");
    EXPECT_EQ(info.maxTouchPointsText, "20");
    EXPECT_EQ(info.modelText, "ZV65T");
    EXPECT_EQ(info.xReceiverCount, 192);
    EXPECT_EQ(info.yBoards, (std::vector<int>{64, 32, 12}));
    EXPECT_EQ(info.xParamA, 7);
    EXPECT_EQ(info.interfacePath, "/dev/hidraw3&col03") << "opened during this query";
    EXPECT_EQ(GetDeviceProtocol().info(), info);
    EXPECT_EQ(Seen(), (std::vector<int>{0xA300, 0xA301, 0xA500, 0xA810}));

    // With the interface already open the filter holds no path any more.
    DeviceInfo again;
    ASSERT_EQ(QueryDeviceInfo(GetDeviceProtocol(), again), link_status::kOk);
    EXPECT_EQ(again.interfacePath, "");
}

TEST_F(QueryDeviceInfoTest, WrongIdentityCodeEndsTheQuery)
{
    // Both forms are taken as the reply, and neither carries the code 0x80.
    const struct {
        std::uint8_t code;
        bool statusReply;
    } forms[] = {{2, false}, {0x81, true}};
    for (const auto& form : forms) {
        frame.identityCode = form.code;
        frame.identityAsStatusReply = form.statusReply;
        frame.commandsSeen.clear();
        DeviceInfo info;
        EXPECT_EQ(QueryDeviceInfo(GetDeviceProtocol(), info), link_status::kBadIdentity);
        EXPECT_EQ(Seen(), (std::vector<int>{0xA300})) << "no later command is sent";
        EXPECT_EQ(info, DeviceInfo{});
    }
}

TEST_F(QueryDeviceInfoTest, AFailedStepKeepsWhatWasReadButNotTheSharedRecord)
{
    frame.axisAnswers = false;
    DeviceInfo info;
    EXPECT_EQ(QueryDeviceInfo(GetDeviceProtocol(), info), link_status::kNoReply);
    EXPECT_EQ(info.identificationCode, "12AB");
    EXPECT_EQ(info.modelText, "ZV65T");
    EXPECT_EQ(info.xReceiverCount, 192);
    EXPECT_EQ(info.xParamA, 0);
    EXPECT_EQ(GetDeviceProtocol().info(), DeviceInfo{});
}

TEST_F(QueryDeviceInfoTest, NoFrameGivesNoDevice)
{
    hid = std::make_shared<FakeHid>();
    DeviceInfo info;
    EXPECT_EQ(QueryDeviceInfo(GetDeviceProtocol(), info), link_status::kNoDevice);
}

}  // namespace
}  // namespace zorvane
