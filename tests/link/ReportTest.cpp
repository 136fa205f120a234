#include "link/EventReport.h"
#include "link/Report.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

Report Bytes(std::initializer_list<std::pair<std::size_t, std::uint8_t>> set)
{
    Report r{};
    for (auto [at, value] : set)
        r[at] = value;
    return r;
}

struct ReplyCase {
    const char* name;
    Report request;
    Report reply;
    bool matches;
};

TEST(ReplyRecognition, FollowsTheRuleTable)
{
    const Report identity = Bytes({{0, 0xFD}, {1, 0xA3}, {2, 0x00}});
    const Report axis = Bytes({{0, 0xFD}, {1, 0xA8}, {2, 0x10}});
    const Report highSub = Bytes({{0, 0xFD}, {1, 0xA8}, {2, 0x90}});
    const ReplyCase cases[] = {
        {"sub-command + 0x80", identity, Bytes({{0, 0xFD}, {1, 0xA3}, {2, 0x80}}), true},
        {"code 2 answers any sub-command", axis, Bytes({{0, 0xFD}, {1, 0xA8}, {2, 0x02}}), true},
        {"code equal to the sub-command", axis, Bytes({{0, 0xFD}, {1, 0xA8}, {2, 0x10}}), true},
        {"0x90 for sub-command 0x10", axis, Bytes({{0, 0xFD}, {1, 0xA8}, {2, 0x90}}), true},
        {"other command byte", identity, Bytes({{0, 0xFD}, {1, 0xA4}, {2, 0x80}}), false},
        {"unrelated reply code", identity, Bytes({{0, 0xFD}, {1, 0xA3}, {2, 0x81}}), false},
        {"status reply, whatever bytes 1 and 2",
         identity, Bytes({{0, 0xFD}, {1, 0x55}, {2, 0x83}, {5, 0xA3}, {6, 0x00}}), true},
        {"status reply for another sub-command",
         identity, Bytes({{0, 0xFD}, {1, 0x55}, {2, 0x83}, {5, 0xA3}, {6, 0x01}}), false},
        {"sub-command >= 0x80: +0x80 cannot hold", highSub, Bytes({{0, 0xFD}, {1, 0xA8}, {2, 0x10}}), false},
        {"sub-command >= 0x80: equal code", highSub, Bytes({{0, 0xFD}, {1, 0xA8}, {2, 0x90}}), true},
        {"sub-command >= 0x80: code 2", highSub, Bytes({{0, 0xFD}, {1, 0xA8}, {2, 0x02}}), true},
        {"bytes 0, 3 and 4 play no part",
         identity, Bytes({{0, 0xFB}, {1, 0xA3}, {2, 0x80}, {3, 9}, {4, 9}}), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsReplyTo(c.reply, c.request), c.matches) << c.name;
}

TEST(EventReports, ClassifiesByHeaderCommandAndCode)
{
    EXPECT_EQ(ClassifyReport(Bytes({{0, 0x00}, {1, 0xAC}})), ReportKind::Foreign);
    EXPECT_EQ(ClassifyReport(Bytes({{0, 0xFD}, {1, 0xAC}, {2, 0}})), ReportKind::PenTray);
    EXPECT_EQ(ClassifyReport(Bytes({{0, 0xFB}, {1, 0xAB}, {2, 2}})), ReportKind::Point);
    // The event command bytes with any other code are ordinary command reports.
    EXPECT_EQ(ClassifyReport(Bytes({{0, 0xFD}, {1, 0xAC}, {2, 1}})), ReportKind::Command);
    EXPECT_EQ(ClassifyReport(Bytes({{0, 0xFD}, {1, 0xAB}, {2, 0}})), ReportKind::Command);
}

TEST(EventReports, DecodesPenSlotsAndPoints)
{
    const Report tray = Bytes({{0, 0xFD}, {1, 0xAC}, {5, 1}, {7, 1}, {10, 1}});
    EXPECT_EQ(PenTraySlots(tray), (std::array<int, 6>{2, 1, 2, 1, 1, 2}));

    const Report point0 = Bytes({{16, 0x20}, {17, 0x00}, {18, 0x40}, {19, 0x00}});
    EXPECT_EQ(PointOfSelector0(point0).x, 2);
    EXPECT_EQ(PointOfSelector0(point0).y, 3);
    const Report point1 = Bytes({{6, 0xFF}, {7, 0xFF}, {8, 0x00}, {9, 0x00}});
    EXPECT_EQ(PointOfSelector1(point1).x, 2048);
    EXPECT_EQ(PointOfSelector1(point1).y, 1);
}

}  // namespace
}  // namespace zorvane
