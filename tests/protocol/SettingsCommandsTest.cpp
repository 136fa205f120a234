#include "LinkFixtures.h"
#include "protocol/SendCommand.h"
#include "protocol/SettingsChange.h"
#include "protocol/SettingsCommands.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

using testing::ReplyTo;
using Query = LinkStatus (*)(DeviceProtocol&, std::int32_t&);

using SettingsWire = testing::ScriptedLink;

TEST_F(SettingsWire, EachQueryFillsItsVariableByItsOwnRule)
{
    enum class Answer { Value, StatusReply83, Nothing };
    struct Case {
        const char* name;
        Query query;
        Answer answer;
        LinkStatus status;
        std::int32_t expected;  // the variable starts at 7; the frame's value byte is 2
    };
    const Case cases[] = {
        {"touch mode", QueryTouchMode, Answer::Value, link_status::kOk, 2},
        {"touch mode, no reply", QueryTouchMode, Answer::Nothing, link_status::kNoReply, 7},
        {"rotation", QueryRotation, Answer::Value, link_status::kOk, 2},
        {"rotation, no reply", QueryRotation, Answer::Nothing, link_status::kNoReply, 0},
        {"reverse", QueryReverse, Answer::Value, link_status::kOk, 2},
        {"reverse, not supported", QueryReverse, Answer::StatusReply83, link_status::kOk, 0},
        {"reverse, no reply", QueryReverse, Answer::Nothing, link_status::kNoReply, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        script = [&c](const Report& request) -> std::optional<Report> {
            Report reply = ReplyTo(request);
            switch (c.answer) {
            case Answer::Value:
                reply[5] = 2;
                return reply;
            case Answer::StatusReply83:  // bytes 5 and 6 name the request, so byte 5 is not the flag
                reply = Report{0xFD, 0x00, 0x83, 0, 0, request[1], request[2]};
                return reply;
            case Answer::Nothing:
                break;
            }
            return std::nullopt;
        };
        std::int32_t value = 7;

        EXPECT_EQ(c.query(GetDeviceProtocol(), value), c.status);

        EXPECT_EQ(value, c.expected);
    }
}

TEST_F(SettingsWire, QueriesSendTheirCommand)
{
    std::int32_t value = 0;
    QueryTouchMode(GetDeviceProtocol(), value);
    QueryRotation(GetDeviceProtocol(), value);
    QueryReverse(GetDeviceProtocol(), value);
    EXPECT_EQ(Heads(),
              (std::vector<std::vector<int>>{{0xFD, 0xA4, 0x04, 0}, {0xFD, 0xA7, 0x02, 0}, {0xFD, 0xA7, 0x04, 0}}));
}

TEST_F(SettingsWire, ASettingIsTakenOnlyWhenTheFrameAnswersItsCommand)
{
    struct Case {
        const char* name;
        std::optional<Report> reply;  // to SetReverse(1), FD A7 05
        bool taken;
    };
    const Report request = commands::SetReverse(1).request;
    const Case cases[] = {
        {"reply code", ReplyTo(request), true},
        {"catch-all reply code", Report{0xFD, 0xA7, 0x02}, true},
        {"status reply 0x83", Report{0xFD, 0x00, 0x83, 0, 0, 0xA7, 0x05}, false},
        {"status reply under the command", Report{0xFD, 0xA7, 0xE0, 0, 0, 0xA7, 0x05}, false},
        {"no reply", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        script = [&c](const Report&) { return c.reply; };

        EXPECT_EQ(ChangeSetting(GetDeviceProtocol(), commands::SetReverse(1)).accepted(), c.taken);
    }
}

using SettingsOnSimulatedFrame = testing::SimulatedLink;

TEST_F(SettingsOnSimulatedFrame, SettingsReadBackAsSet)
{
    struct Case {
        const char* name;
        Command set;
        Query query;
        std::int32_t expected;
    };
    using namespace commands;
    const Case cases[] = {
        {"rotation 90", SetRotation(1), QueryRotation, 1},
        {"rotation 270", SetRotation(3), QueryRotation, 3},
        {"rotation 0", SetRotation(0), QueryRotation, 0},
        {"reverse on", SetReverse(1), QueryReverse, 1},
        {"reverse off", SetReverse(0), QueryReverse, 0},
        {"Mouse", SetTouchMode(touch_mode::kMouse), QueryTouchMode, 1},
        {"Touch", SetTouchMode(touch_mode::kTouch), QueryTouchMode, 2},
        {"scan mode leaves the touch mode", SetTouchMode(touch_mode::kScanOn), QueryTouchMode, 2},
        {"Muli-Touch", SetTouchMode(touch_mode::kMultiTouch), QueryTouchMode, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(SendCommand(GetDeviceProtocol(), c.set), link_status::kOk);
        std::int32_t value = -1;
        EXPECT_EQ(c.query(GetDeviceProtocol(), value), link_status::kOk);
        EXPECT_EQ(value, c.expected);
    }
}

TEST_F(SettingsOnSimulatedFrame, CalibrationKindReadsBackAsSet)
{
    for (const CalibrationKind kind : {CalibrationKind::NinePoint, CalibrationKind::TwoPoint}) {
        ASSERT_EQ(SendCommand(GetDeviceProtocol(), commands::SetCalibrationKind(kind)), link_status::kOk);
        Report reply;
        ASSERT_EQ(SendCommand(GetDeviceProtocol(), commands::GetCalibrationKind(), reply), link_status::kOk);
        EXPECT_EQ(reply[5], static_cast<int>(kind));
    }
}

TEST_F(SettingsOnSimulatedFrame, FrameWithoutReverseMountingReadsNotReversed)
{
    FrameState state = State();
    state.settings.reverseSupported = false;
    state.settings.reversed = 1;
    backend->frame().SetState(state);
    std::int32_t reversed = -1;

    EXPECT_EQ(QueryReverse(GetDeviceProtocol(), reversed), link_status::kOk);

    EXPECT_EQ(reversed, 0);
}

TEST_F(SettingsOnSimulatedFrame, TargetScreenAndChartCommandsReachTheFrame)
{
    using namespace commands;
    for (const Command& command :
         {Command04(0), CommandA212(0), SetLed(0), Initialise(), SetTouchMode(touch_mode::kScanOn)})
        ASSERT_EQ(SendCommand(GetDeviceProtocol(), command), link_status::kOk);

    const FrameState::Settings settings = State().settings;
    EXPECT_EQ(settings.command04, 0);
    EXPECT_EQ(settings.commandA212, 0);
    EXPECT_EQ(settings.led, 0);
    EXPECT_EQ(settings.initialiseCount, 1);
    EXPECT_TRUE(settings.scanMode);
}

}  // namespace
}  // namespace zorvane
