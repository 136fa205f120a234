#include "signal/ChartCaption.h"
#include "signal/ChartColumns.h"
#include "signal/ChartGeometry.h"
#include "signal/ChartVersion.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace zorvane {
namespace {

using Lines = std::array<std::int32_t, 6>;
using Labels = std::array<std::string, 3>;

DeviceInfo FrameInfo(std::string version, std::int32_t xCount = 192, std::int32_t yCount = 108)
{
    DeviceInfo info;
    info.xReceiverCount = xCount;
    info.yReceiverCount = yCount;
    info.firmwareVersionText = std::move(version);
    return info;
}

ChartGeometry NormalView()
{
    ChartGeometry geometry;
    LayoutChart(geometry, 854, 584);
    return geometry;
}

TEST(ChartLayout, NormalViewAndFullScreen)
{
    const ChartGeometry normal = NormalView();
    EXPECT_EQ(normal.xBaseline, 263);
    EXPECT_EQ(normal.yBaseline, 555);
    EXPECT_EQ(normal.valueScale, 1.0f);
    EXPECT_EQ(normal.gridY, (Lines{57, 108, 180, 349, 400, 472}));
    EXPECT_EQ(normal.gridLabels, Labels{});
    EXPECT_EQ(normal.captionText, "");

    ChartGeometry screen;
    LayoutChart(screen, 1920, 1080);
    EXPECT_EQ(screen.xBaseline, 511);
    EXPECT_EQ(screen.yBaseline, 1051);
    EXPECT_EQ(screen.valueScale, 1.96875f);
}

TEST(ChartLayout, OddHeightTruncatesTheHalf)
{
    ChartGeometry geometry;
    LayoutChart(geometry, 100, 585);
    EXPECT_EQ(geometry.xBaseline, 263);
    EXPECT_EQ(geometry.yBaseline, 556);
}

TEST(ChartLayout, RelayoutKeepsWhatAStartPrepared)
{
    ChartGeometry geometry = NormalView();
    PrepareChartGeometry(geometry, FrameInfo("4100"));
    const ChartGeometry prepared = geometry;

    LayoutChart(geometry, 854, 584);

    EXPECT_EQ(geometry.gridLabels, prepared.gridLabels);
    EXPECT_EQ(geometry.captionText, prepared.captionText);
    EXPECT_EQ(geometry.columnWidth, prepared.columnWidth);
    EXPECT_EQ(geometry.gridY, NormalView().gridY);  // back on set A until the next start
}

TEST(ChartVersionRule, LeadingDecimalDigits)
{
    const std::pair<std::string, int> cases[] = {
        {"4100", 4100}, {"4099", 4099}, {"10a3", 10}, {"0316", 316}, {"a100", 0},
        {"", 0},        {"-123", 0},    {"99999999999999999999", 2147483647},
    };
    for (const auto& [text, version] : cases)
        EXPECT_EQ(ChartVersion(text), version) << text;
}

TEST(ChartPreparation, ScaleSetFollowsTheFirmwareVersion)
{
    struct Case {
        const char* version;
        Lines lines;
        Labels labels;
    };
    const Case cases[] = {
        {"4100", {57, 155, 218, 349, 447, 510}, {"200", "100", "40"}},
        {"4110", {57, 155, 218, 349, 447, 510}, {"200", "100", "40"}},
        {"4099", {57, 108, 180, 349, 400, 472}, {"200", "150", "80"}},
        {"10a3", {57, 108, 180, 349, 400, 472}, {"200", "150", "80"}},
        {"", {57, 108, 180, 349, 400, 472}, {"200", "150", "80"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        ChartGeometry geometry = NormalView();
        PrepareChartGeometry(geometry, FrameInfo(c.version));
        EXPECT_EQ(geometry.gridY, c.lines);
        EXPECT_EQ(geometry.gridLabels, c.labels);
    }
}

TEST(ChartPreparation, ColumnWidthFromTheLongerSide)
{
    struct Case {
        std::int32_t x, y, width;
    };
    const Case cases[] = {{192, 108, 4}, {108, 192, 4}, {412, 0, 2}, {0, 0, 0}, {1000, 1000, 0}};
    for (const Case& c : cases) {
        ChartGeometry geometry = NormalView();
        PrepareChartGeometry(geometry, FrameInfo("0316", c.x, c.y));
        EXPECT_EQ(geometry.columnWidth, c.width) << c.x << " x " << c.y;
    }
}

TEST(ChartPreparation, Caption)
{
    DeviceInfo info = FrameInfo("1003");
    info.modelText = "ABC";
    info.identificationCode = "5a5a";
    info.maxTouchPointsText = "10";
    info.xBoards = {64, 64, 32};
    info.yBoards = {48, 48};
    EXPECT_EQ(ChartCaption(info), "ABC|1003|5a5a|10    [X:64+64+32\u00B7Y:48+48]");

    info.xBoards.clear();
    EXPECT_EQ(ChartCaption(info), "ABC|1003|5a5a|10    [X:\u00B7Y:48+48]");

    ChartGeometry geometry = NormalView();
    PrepareChartGeometry(geometry, info);
    EXPECT_EQ(geometry.captionText, ChartCaption(info));
}

TEST(ChartColumns, ValueColumnsOnTheNormalView)
{
    ChartGeometry geometry = NormalView();
    DeviceInfo info = FrameInfo("0316");
    info.straightThreshold = 40;
    info.obliqueThreshold = 30;
    PrepareChartGeometry(geometry, info);

    const std::int32_t threshold = ValueThreshold(ScanDirection::Middle, info);
    EXPECT_FALSE(IsHealthyValue(79, threshold));
    EXPECT_TRUE(IsHealthyValue(80, threshold));
    EXPECT_EQ(ColumnRectFor(geometry, ScanAxis::X, 0, 79), (ColumnRect{2, 263 - 79 - 1, 4, 79}));
    EXPECT_EQ(ColumnRectFor(geometry, ScanAxis::Y, 3, 80), (ColumnRect{14, 555 - 80 - 1, 4, 80}));

    EXPECT_EQ(ValueThreshold(ScanDirection::Forward, info), 30);
    EXPECT_EQ(ValueThreshold(ScanDirection::Behind, info), 30);
}

TEST(ChartColumns, ColumnNumbers)
{
    EXPECT_EQ(ColumnNumbers(FrameInfo("", 192, 108)),
              (std::vector<std::int32_t>{10, 30, 50, 70, 90, 110, 130, 150, 170, 190}));
    EXPECT_EQ(ColumnNumbers(FrameInfo("", 9, 9)), std::vector<std::int32_t>{});
    EXPECT_EQ(ColumnNumbers(FrameInfo("", 0, 10)), std::vector<std::int32_t>{10});
}

}  // namespace
}  // namespace zorvane
