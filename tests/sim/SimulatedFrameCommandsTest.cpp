// The simulated frame's calibration and settings commands, answered directly.
#include "sim/SimulatedFrame.h"

#include "link/EventReport.h"
#include "protocol/CommandTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <vector>

namespace zorvane {
namespace {

Report OnlyReply(SimulatedFrame& frame, const Report& request)
{
    const std::vector<Report> replies = frame.Answer(request);
    EXPECT_EQ(replies.size(), 1u);
    if (replies.empty())
        return Report{};
    EXPECT_EQ(ClassifyReport(replies.front()), ReportKind::Command);
    EXPECT_TRUE(IsReplyTo(replies.front(), request));
    return replies.front();
}

std::vector<std::uint16_t> WireValues(const Report& reply, std::size_t count)
{
    std::vector<std::uint16_t> values;
    for (std::size_t i = 0; i < count; ++i)
        values.push_back(static_cast<std::uint16_t>(reply[6 + 2 * i] << 8 | reply[7 + 2 * i]));
    return values;
}

template <std::size_t N>
std::vector<std::uint16_t> Values(const std::array<std::uint16_t, N>& record)
{
    return {record.begin(), record.end()};
}

// One record kind: its commands and where the frame keeps it.
struct RecordKind {
    const char* name;
    Command read;
    std::function<Command(std::uint16_t first)> write;  // values first, first + 1, ...
    Command commit;
    std::function<std::vector<std::uint16_t>(const FrameState::CalibrationRecords&)> values;
};

template <std::size_t N>
std::array<std::uint16_t, N> Ascending(std::uint16_t first)
{
    std::array<std::uint16_t, N> values{};
    std::iota(values.begin(), values.end(), first);
    return values;
}

std::vector<RecordKind> RecordKinds()
{
    return {
        {"two-point", commands::ReadTwoPointCalibration(),
         [](std::uint16_t first) { return commands::WriteTwoPointCalibration(Ascending<kTwoPointValues>(first)); },
         commands::CommitTwoPointCalibration(),
         [](const FrameState::CalibrationRecords& r) { return Values(r.twoPoint); }},
        {"nine-point", commands::ReadNinePointCalibration(),
         [](std::uint16_t first) { return commands::WriteNinePointCalibration(Ascending<kNinePointValues>(first)); },
         commands::CommitNinePointCalibration(),
         [](const FrameState::CalibrationRecords& r) { return Values(r.ninePoint); }},
    };
}

std::vector<std::uint16_t> Sequence(std::uint16_t first, std::size_t count)
{
    std::vector<std::uint16_t> values(count);
    std::iota(values.begin(), values.end(), first);
    return values;
}

TEST(SimulatedFrameCalibration, WriteAppliesCommitKeepsResetRestoresTheFactoryRecord)
{
    for (const RecordKind& kind : RecordKinds()) {
        SCOPED_TRACE(kind.name);
        SimulatedFrame frame;
        const FrameState::CalibrationRecords factory = frame.state().calibration.factory;
        const std::size_t count = kind.values(factory).size();
        const auto current = [&] { return kind.values(frame.state().calibration.current); };
        const auto stored = [&] { return kind.values(frame.state().calibration.stored); };

        Report reply = OnlyReply(frame, kind.read.request);
        EXPECT_EQ(reply[3], kind.read.request[3]);
        EXPECT_EQ(WireValues(reply, count), kind.values(factory));

        OnlyReply(frame, kind.write(0xFFF0).request);
        EXPECT_EQ(current(), Sequence(0xFFF0, count));
        EXPECT_EQ(stored(), kind.values(factory));
        EXPECT_EQ(WireValues(OnlyReply(frame, kind.read.request), count), Sequence(0xFFF0, count));

        OnlyReply(frame, kind.commit.request);
        EXPECT_EQ(stored(), Sequence(0xFFF0, count));

        OnlyReply(frame, kind.write(7).request);
        OnlyReply(frame, commands::ResetCalibration().request);
        EXPECT_EQ(frame.state().calibration.current, factory);
        EXPECT_EQ(frame.state().calibration.stored, factory);
    }
}

TEST(SimulatedFrameCalibration, CommitKeepsOnlyItsOwnRecord)
{
    SimulatedFrame frame;
    const FrameState::CalibrationRecords factory = frame.state().calibration.factory;
    for (const RecordKind& kind : RecordKinds())
        OnlyReply(frame, kind.write(100).request);

    OnlyReply(frame, commands::CommitNinePointCalibration().request);

    EXPECT_EQ(frame.state().calibration.stored.twoPoint, factory.twoPoint);
    EXPECT_EQ(frame.state().calibration.stored.ninePoint, frame.state().calibration.current.ninePoint);
}

TEST(SimulatedFrameCalibration, UnknownRecordKindIsRejected)
{
    for (const RecordKind& kind : RecordKinds()) {
        for (Command command : {kind.read, kind.write(1), kind.commit}) {
            SCOPED_TRACE(std::string(kind.name) + " " + std::to_string(command.request[2]));
            SimulatedFrame frame;
            const FrameState before = frame.state();
            command.request[3] = 3;

            EXPECT_EQ(OnlyReply(frame, command.request)[2], SimulatedFrame::kStatusRejected);
            EXPECT_EQ(frame.state().calibration.current, before.calibration.current);
            EXPECT_EQ(frame.state().calibration.stored, before.calibration.stored);
        }
    }
}

TEST(SimulatedFrameSettings, SettingCommandsTakeOnlyTheValuesTheyKnow)
{
    using namespace commands;
    using Field = std::function<int(const FrameState::Settings&)>;
    const Field rotation = [](const auto& s) { return s.rotation; };
    const Field reversed = [](const auto& s) { return s.reversed; };
    const Field touchMode = [](const auto& s) { return s.touchMode; };
    const Field scanMode = [](const auto& s) { return s.scanMode; };
    const Field led = [](const auto& s) { return s.led; };
    const Field initialised = [](const auto& s) { return s.initialiseCount; };
    const Field a212 = [](const auto& s) { return s.commandA212 ? *s.commandA212 : -1; };
    const Field c04 = [](const auto& s) { return s.command04 ? *s.command04 : -1; };
    struct Case {
        const char* name;
        Command command;
        Field field;
        int before;
        int after;
        bool accepted;
    };
    const Case cases[] = {
        {"rotation 270", SetRotation(3), rotation, 0, 3, true},
        {"rotation 4", SetRotation(4), rotation, 0, 0, false},
        {"reverse", SetReverse(1), reversed, 0, 1, true},
        {"reverse 2", SetReverse(2), reversed, 0, 0, false},
        {"Mouse", SetTouchMode(touch_mode::kMouse), touchMode, 3, 1, true},
        {"touch mode 0", SetTouchMode(0), touchMode, 3, 3, false},
        {"touch mode 4", SetTouchMode(4), touchMode, 3, 3, false},
        {"scan on keeps the touch mode", SetTouchMode(touch_mode::kScanOn), touchMode, 3, 3, true},
        {"scan on", SetTouchMode(touch_mode::kScanOn), scanMode, 0, 1, true},
        {"LED off", SetLed(0), led, 1, 0, true},
        {"LED 2", SetLed(2), led, 1, 1, false},
        {"initialise", Initialise(), initialised, 0, 1, true},
        {"A212, screen closes", CommandA212(1), a212, -1, 1, true},
        {"04, screen opens", Command04(0), c04, -1, 0, true},
        {"04, screen closes", Command04(1), c04, -1, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedFrame frame;
        EXPECT_EQ(c.field(frame.state().settings), c.before);

        const Report reply = OnlyReply(frame, c.command.request);

        EXPECT_EQ(reply[2], c.accepted ? c.command.request[2] + 0x80 : SimulatedFrame::kStatusRejected);
        EXPECT_EQ(c.field(frame.state().settings), c.after);
    }
}

TEST(SimulatedFrameSettings, ScanModeOffSwitchesItBack)
{
    SimulatedFrame frame;
    OnlyReply(frame, commands::SetTouchMode(touch_mode::kScanOn).request);
    OnlyReply(frame, commands::SetTouchMode(touch_mode::kScanOff).request);
    EXPECT_FALSE(frame.state().settings.scanMode);
}

TEST(SimulatedFrameSettings, CalibrationKindIsOneOfTheTwoRecords)
{
    SimulatedFrame frame;
    EXPECT_EQ(OnlyReply(frame, commands::GetCalibrationKind().request)[5], 1);

    OnlyReply(frame, commands::SetCalibrationKind(CalibrationKind::NinePoint).request);
    EXPECT_EQ(OnlyReply(frame, commands::GetCalibrationKind().request)[5], 2);

    Command unknown = commands::SetCalibrationKind(CalibrationKind::NinePoint);
    unknown.request[5] = 3;
    EXPECT_EQ(OnlyReply(frame, unknown.request)[2], SimulatedFrame::kStatusRejected);
    EXPECT_EQ(frame.state().calibration.kind, CalibrationKind::NinePoint);
}

TEST(SimulatedFrameSettings, QueriesAnswerInByte5)
{
    FrameState state;
    state.settings.rotation = 2;
    state.settings.reversed = 1;
    state.settings.touchMode = touch_mode::kTouch;
    SimulatedFrame frame(state);

    EXPECT_EQ(OnlyReply(frame, commands::GetRotation().request)[5], 2);
    EXPECT_EQ(OnlyReply(frame, commands::GetReverse().request)[5], 1);
    EXPECT_EQ(OnlyReply(frame, commands::GetTouchMode().request)[5], 2);
}

TEST(SimulatedFrameSettings, FirmwareWithoutReverseMountingAnswersUnsupported)
{
    FrameState state;
    state.settings.reverseSupported = false;
    state.settings.reversed = 1;
    SimulatedFrame frame(state);

    for (const Command& command : {commands::GetReverse(), commands::SetReverse(0)}) {
        const Report reply = OnlyReply(frame, command.request);
        EXPECT_EQ(reply[2], 0x83);
        EXPECT_EQ(reply[5], command.request[1]);
        EXPECT_EQ(reply[6], command.request[2]);
    }
    EXPECT_EQ(frame.state().settings.reversed, 1);
}

}  // namespace
}  // namespace zorvane
