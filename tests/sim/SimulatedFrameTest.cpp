#include "sim/SimulatedFrame.h"

#include "link/EventReport.h"
#include "protocol/BoardList.h"
#include "protocol/CommandTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorvane {
namespace {

// Whether the channel's reader would take `reply` as the answer to `request`.
bool Answers(const Report& reply, const Report& request)
{
    return ClassifyReport(reply) == ReportKind::Command && IsReplyTo(reply, request);
}

Report OnlyReply(SimulatedFrame& frame, const Report& request)
{
    const std::vector<Report> replies = frame.Answer(request);
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? Report{} : replies.front();
}

std::string Text(const Report& report, std::size_t from, std::size_t count)
{
    return {report.begin() + static_cast<std::ptrdiff_t>(from),
            report.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

TEST(SimulatedFrame, IdentityReplyCarriesEveryField)
{
    FrameState state;
    state.identity.identificationCode = 0x12AB;
    state.identity.touchPointFlag = 0;
    state.identity.maxTouchPoints = 10;
    state.identity.vidPid = {0x11, 0x01, 0x02, 0x00};
    state.identity.firmwareVersion = 0x0215;
    state.identity.secondVersion = 0x0304;
    state.identity.buildTime = "2023-01-02 03:04:05 and more";  // longer than the 20-byte field
    SimulatedFrame frame(state);
    const Report request = commands::GetDeviceIdentity().request;

    const Report r = OnlyReply(frame, request);

    EXPECT_TRUE(Answers(r, request));
    EXPECT_EQ(r[0], 0xFD);
    EXPECT_EQ(r[1], 0xA3);
    EXPECT_EQ(r[2], 0x80);
    EXPECT_EQ(r[8], 0xAB);
    EXPECT_EQ(r[9], 0x12);
    EXPECT_EQ(r[10], 0);
    EXPECT_EQ(r[11], 10);
    EXPECT_EQ((std::vector<int>{r[18], r[19], r[20], r[21]}), (std::vector<int>{0x11, 0x01, 0x02, 0x00}));
    EXPECT_EQ(r[22], 0x15);
    EXPECT_EQ(r[23], 0x02);
    EXPECT_EQ(Text(r, 24, 20), "2023-01-02 03:04:05 ");
    EXPECT_EQ(r[44], 0);
    EXPECT_EQ(r[46], 0x04);
    EXPECT_EQ(r[47], 0x03);
}

TEST(SimulatedFrame, ModelNameReplyCountsTheCharactersItCarries)
{
    struct Case {
        std::string name;
        std::size_t sent;
    };
    const Case cases[] = {{"ZV-T20", 6}, {std::string(70, 'M'), 59}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameState state;
        state.identity.modelName = c.name;
        SimulatedFrame frame(state);
        const Report request = commands::GetModelName().request;

        const Report r = OnlyReply(frame, request);

        EXPECT_TRUE(Answers(r, request));
        EXPECT_EQ(r[2], 0x81);
        EXPECT_EQ(r[3], c.sent);
        EXPECT_EQ(Text(r, 5, c.sent), c.name.substr(0, c.sent));
    }
}

TEST(SimulatedFrame, LayoutReplyCarriesCountsParametersAndTrailingBytes)
{
    FrameState state;
    state.layout.xReceivers = 320;
    state.layout.yReceivers = 240;
    state.layout.layoutParams = {1, 2, 3, 4};
    state.layout.straightThreshold = 41;
    state.layout.obliqueThreshold = 27;
    state.layout.byte36 = 0x5A;
    state.layout.byte37 = 0xA5;
    SimulatedFrame frame(state);

    // The calibration reads send the same request with their record kind in byte 3.
    for (const std::uint8_t qualifier : {std::uint8_t{0}, std::uint8_t{1}, std::uint8_t{2}}) {
        SCOPED_TRACE(static_cast<int>(qualifier));
        Report request = commands::GetFrameLayout().request;
        request[3] = qualifier;

        const Report r = OnlyReply(frame, request);

        EXPECT_TRUE(Answers(r, request));
        EXPECT_EQ(r[2], 0x80);
        EXPECT_EQ((std::vector<int>{r[6], r[7], r[8], r[9]}), (std::vector<int>{0x40, 0x01, 0xF0, 0x00}));
        EXPECT_EQ((std::vector<int>{r[10], r[11], r[12], r[13]}), (std::vector<int>{1, 2, 3, 4}));
        EXPECT_EQ(r[14], 41);
        EXPECT_EQ(r[15], 27);
        EXPECT_EQ(r[36], 0x5A);
        EXPECT_EQ(r[37], 0xA5);
    }
}

TEST(SimulatedFrame, BoardListsAreLaidOutFromByte16AndStopBeforeByte36)
{
    struct Case {
        std::string x;
        std::string y;
        std::string bytes16To35;
        std::vector<int> xBoards;
        std::vector<int> yBoards;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {"AAB", "CC", "AAB\0CC\0"s + std::string(13, '\0'), {64, 64, 32}, {48, 48}},
        {"16A", "", "16A\0\0"s + std::string(15, '\0'), {16, 64}, {}},
        {"AAAAAAAAAAAA", "CCCCCCCCCCCC", "AAAAAAAAAAAA\0CCCCCCC"s, {}, {}},  // cut off at byte 35
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x + "/" + c.y);
        FrameState state;
        state.layout.xBoards = c.x;
        state.layout.yBoards = c.y;
        state.layout.byte36 = 0x36;
        state.layout.byte37 = 0x37;
        SimulatedFrame frame(state);

        const Report r = OnlyReply(frame, commands::GetFrameLayout().request);

        EXPECT_EQ(Text(r, 16, 20), c.bytes16To35);
        EXPECT_EQ(r[36], 0x36);
        EXPECT_EQ(r[37], 0x37);
        if (!c.xBoards.empty()) {
            const BoardLists lists = ParseBoardLists(r);
            EXPECT_EQ(lists.x, c.xBoards);
            EXPECT_EQ(lists.y, c.yBoards);
        }
    }
}

TEST(SimulatedFrame, DefaultFrameIsConsistent)
{
    SimulatedFrame frame;
    const FrameState state = frame.state();

    const BoardLists lists = ParseBoardLists(OnlyReply(frame, commands::GetFrameLayout().request));
    int xSum = 0;
    int ySum = 0;
    for (const int receivers : lists.x)
        xSum += receivers;
    for (const int receivers : lists.y)
        ySum += receivers;
    EXPECT_EQ(xSum, state.layout.xReceivers);
    EXPECT_EQ(ySum, state.layout.yReceivers);

    // The identity reply names the same vendor and product as the USB attributes.
    const Report identity = OnlyReply(frame, commands::GetDeviceIdentity().request);
    EXPECT_EQ(identity[18] << 8 | identity[19], frame.usbAttributes().vendorId);
    EXPECT_EQ(identity[21] << 8 | identity[20], frame.usbAttributes().productId);
    EXPECT_EQ(frame.usbAttributes().vendorId, 0x1101);
    EXPECT_NE(frame.usbAttributes().productId, 0xFFFF);
}

TEST(SimulatedFrame, AxisReplyCarriesParametersWithOrWithoutTheSuffixCode)
{
    for (const bool suffix : {true, false}) {
        SCOPED_TRACE(suffix);
        FrameState state;
        state.axis = {.identificationSuffix = suffix,
                      .suffixFirst = 1,
                      .xParamB = 2,
                      .suffixThird = 3,
                      .yParamB = 4,
                      .xParamC = 9,
                      .xParamA = 10,
                      .yParamC = 11,
                      .yParamA = 12};
        SimulatedFrame frame(state);
        const Report request = commands::GetAxisParameters().request;

        const Report r = OnlyReply(frame, request);

        EXPECT_TRUE(Answers(r, request));
        EXPECT_EQ(r[2], suffix ? 0x90 : 0x10);
        EXPECT_EQ((std::vector<int>(r.begin() + 5, r.begin() + 13)), (std::vector<int>{1, 2, 3, 4, 9, 10, 11, 12}));
    }
}

TEST(SimulatedFrame, UnknownCommandGetsAnUnsupportedStatusReply)
{
    SimulatedFrame frame;
    Report request{};
    request[0] = kNormalHeader;
    request[1] = 0x55;
    request[2] = 0x01;

    const Report r = OnlyReply(frame, request);

    EXPECT_TRUE(Answers(r, request));
    EXPECT_EQ(r[2], SimulatedFrame::kStatusUnsupported);
    EXPECT_EQ(r[5], 0x55);
    EXPECT_EQ(r[6], 0x01);
}

TEST(SimulatedFrame, NormalFirmwareIgnoresBootloaderRequests)
{
    SimulatedFrame frame;
    EXPECT_TRUE(frame.Answer(commands::BootloaderProbe().request).empty());
}

}  // namespace
}  // namespace zorvane
