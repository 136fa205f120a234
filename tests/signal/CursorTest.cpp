#include "signal/CursorColumn.h"
#include "signal/CursorLabel.h"
#include "signal/CursorMode.h"
#include "signal/ScanChart.h"
#include "signal/ChartInfo.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

// A Value series of `length` readings of 100 of which `marks` read 2 (no oblique partner).
ScanSeries ValueWithMarks(std::size_t marks, std::size_t length = 192)
{
    ScanSeries value(length, 100);
    std::fill_n(value.begin(), marks, 2);
    return value;
}

DeviceInfo Firmware(std::string version, std::vector<int> xBoards = {}, std::vector<int> yBoards = {})
{
    DeviceInfo info;
    info.firmwareVersionText = std::move(version);
    info.xBoards = std::move(xBoards);
    info.yBoards = std::move(yBoards);
    return info;
}

TEST(CursorLabel, OlderFirmwareAssumesBoardsOf64)
{
    struct Case {
        std::int32_t n;
        ScanDirection direction;
        std::size_t k;
        const char* label;
    };
    const Case cases[] = {
        {70, ScanDirection::Middle, 0, "S(Baord02-06)->R(Board02-06)"},
        {70, ScanDirection::Middle, 60, "S(Baord02-06)->R(Board02-06)"},
        {70, ScanDirection::Forward, 60, "S(Baord02-06)->R(Board03-02)"},
        {3, ScanDirection::Behind, 5, "S(Baord01-03)->R(Board00-62)"},
        {64, ScanDirection::Middle, 0, "S(Baord01-64)->R(Board01-64)"},
        {65, ScanDirection::Behind, 0, "S(Baord02-01)->R(Board02-01)"},
        {1, ScanDirection::Behind, 65, "S(Baord01-01)->R(Board-1-64)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DescribeCursorPosition({ScanAxis::X, c.n}, c.direction, ValueWithMarks(c.k), Firmware("4109")),
                  c.label);
    }
}

TEST(CursorLabel, MarksAreCountedOnTheCursorAxisOnly)
{
    // Behind on Y with 6 marks; the X series would give another answer.
    EXPECT_EQ(DescribeCursorPosition({ScanAxis::Y, 10}, ScanDirection::Behind, ValueWithMarks(6, 108),
                                     Firmware("0316")),
              "S(Baord01-10)->R(Board01-04)");
}

TEST(CursorLabel, NewerFirmwareUsesTheRealBoards)
{
    const DeviceInfo info = Firmware("4110", {64, 32, 48}, {48, 12});
    struct Case {
        CursorColumn cursor;
        const char* label;
    };
    const Case cases[] = {
        {{ScanAxis::X, 1}, "S(Baord01-01)->R(Board01-01)"},
        {{ScanAxis::X, 64}, "S(Baord01-64)->R(Board01-64)"},
        {{ScanAxis::X, 65}, "S(Baord02-01)->R(Board02-01)"},
        {{ScanAxis::X, 144}, "S(Baord03-48)->R(Board03-48)"},
        {{ScanAxis::X, 145}, "S(Baord04-00)->R(Board04-00)"},
        {{ScanAxis::Y, 50}, "S(Baord02-02)->R(Board02-02)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // The direction and the marks play no part.
        EXPECT_EQ(DescribeCursorPosition(c.cursor, ScanDirection::Forward, ValueWithMarks(60), info), c.label);
    }
    EXPECT_EQ(DescribeCursorPosition({ScanAxis::X, 3}, ScanDirection::Middle, {}, Firmware("4110")),
              "S(Baord01-00)->R(Board01-00)");
}

TEST(CursorLabel, EmptyWithoutAColumnOrForAnUnknownDirection)
{
    EXPECT_EQ(DescribeCursorPosition({ScanAxis::X, 0}, ScanDirection::Middle, {}, Firmware("0316")), "");
    EXPECT_EQ(DescribeCursorPosition({ScanAxis::X, 5}, static_cast<ScanDirection>(3), {}, Firmware("0316")), "");
}

TEST(CursorTracking, FollowsTheColumnUnderTheMouse)
{
    ChartGeometry geometry;
    LayoutChart(geometry, 854, 584);
    geometry.columnWidth = 4;
    DeviceInfo info;
    info.xReceiverCount = 192;  // X columns end at x = 768
    info.yReceiverCount = 108;  // Y columns end at x = 432
    const CursorColumn previous{ScanAxis::Y, 7};
    struct Case {
        std::int32_t x, y;
        CursorColumn expected;
    };
    const Case cases[] = {
        {3, 100, {ScanAxis::X, 1}},     {6, 100, {ScanAxis::X, 2}},    {768, 262, {ScanAxis::X, 192}},
        {769, 100, {ScanAxis::Y, 0}},   {2, 100, {ScanAxis::Y, 0}},    {100, 60, {ScanAxis::Y, 0}},
        {100, 263, {ScanAxis::Y, 0}},   {100, 344, {ScanAxis::Y, 25}}, {100, 343, {ScanAxis::Y, 0}},
        {432, 554, {ScanAxis::Y, 108}}, {433, 400, {ScanAxis::Y, 0}},  {100, 555, {ScanAxis::Y, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrackCursor(previous, c.x, c.y, geometry, info), c.expected) << c.x << ", " << c.y;
}

// Every test runs in a process of its own, so the shared cursor mode and chart identification start
// fresh here.
TEST(ChartCursor, ModeToggleAndLabelInTheFrame)
{
    DeviceInfo info = Firmware("0316");
    info.xReceiverCount = 192;
    info.yReceiverCount = 108;
    chartInfo().set(info);
    ScanChart chart;
    chart.Layout(854, 584);
    chart.PrepareGeometry(info);

    chart.TrackCursor(100, 100);  // cursor mode off: not followed
    EXPECT_EQ(chart.cursor().index, 0);

    chart.ToggleCursorMode();
    EXPECT_TRUE(cursorMode());
    EXPECT_EQ(chart.Frame().cursorLabel, "");  // no column until the mouse moves over one
    chart.TrackCursor(282, 100);
    EXPECT_EQ(chart.cursor(), (CursorColumn{ScanAxis::X, 71}));
    EXPECT_EQ(chart.Frame().cursorLabel, "S(Baord02-07)->R(Board02-07)");

    chart.ToggleCursorMode();
    EXPECT_FALSE(cursorMode());
    EXPECT_EQ(chart.cursor().index, 0);
    EXPECT_EQ(chart.Frame().cursorLabel, "");
}

}  // namespace
}  // namespace zorvane
