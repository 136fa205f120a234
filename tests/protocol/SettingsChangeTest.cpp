#include "LinkFixtures.h"
#include "protocol/SettingsChange.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

using testing::ReplyTo;
using SettingsChangeWire = testing::ScriptedLink;

TEST_F(SettingsChangeWire, OnlyTheCommandsOwnReplyCodeIsAnAcceptedChange)
{
    enum class Answer { OwnCode, StatusReply, Nothing };
    struct Case {
        const char* name;
        Answer answer;
        bool accepted;
        bool refused;
        LinkStatus status;
    };
    const Case cases[] = {
        {"taken", Answer::OwnCode, true, false, link_status::kOk},
        {"status reply: the frame cannot take it", Answer::StatusReply, false, true, link_status::kOk},
        {"no answer", Answer::Nothing, false, false, link_status::kNoReply},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        script = [&c](const Report& request) -> std::optional<Report> {
            if (c.answer == Answer::Nothing)
                return std::nullopt;
            Report reply = ReplyTo(request);
            if (c.answer == Answer::StatusReply) {
                reply = {0xFD, 0x00, 0x83, 0, 0, request[1], request[2]};
            }
            return reply;
        };
        const SettingAnswer answer = ChangeReverse(GetDeviceProtocol(), true);
        EXPECT_EQ(answer.accepted(), c.accepted);
        EXPECT_EQ(answer.refused, c.refused);
        EXPECT_EQ(answer.status, c.status);
    }
}

TEST_F(SettingsChangeWire, EachChangeSendsItsValue)
{
    ChangeRotation(GetDeviceProtocol(), Rotation::Deg270);
    ChangeReverse(GetDeviceProtocol(), true);
    ChangeTouchMode(GetDeviceProtocol(), TouchMode::MultiTouch);
    const std::vector<Report> sent = Requests();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(testing::Bytes(sent[0], 0, 6), (std::vector<int>{0xFD, 0xA7, 0x00, 0x02, 0x00, 3}));
    EXPECT_EQ(testing::Bytes(sent[1], 0, 6), (std::vector<int>{0xFD, 0xA7, 0x05, 0x00, 0x00, 1}));
    EXPECT_EQ(testing::Bytes(sent[2], 0, 6), (std::vector<int>{0xFD, 0xA4, 0x00, 0x00, 0x00, 3}));
}

}  // namespace
}  // namespace zorvane
