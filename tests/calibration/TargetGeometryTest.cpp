#include "calibration/NinePointTargets.h"
#include "calibration/TargetScreenButtons.h"
#include "calibration/TwoPointTargets.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvane {
namespace {

constexpr ScreenSize kFullHd{1920, 1080};

std::string At(ScreenPoint p)
{
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

TEST(TwoPointTargets, CentresAndAreasSitInOppositeCorners)
{
    EXPECT_EQ(TargetCentre(TwoPointTarget::TopLeft, kFullHd), (ScreenPoint{150, 150}));
    EXPECT_EQ(TargetCentre(TwoPointTarget::BottomRight, kFullHd), (ScreenPoint{1770, 930}));
    EXPECT_EQ(RepaintArea(TwoPointTarget::TopLeft, kFullHd), (ScreenRect{{0, 0}, {300, 300}}));
    EXPECT_EQ(RepaintArea(TwoPointTarget::BottomRight, kFullHd), (ScreenRect{{1620, 780}, {1920, 1080}}));
    EXPECT_EQ(CrossOf(TwoPointTarget::TopLeft, kFullHd), (TargetCross{{{5, 150}, {295, 150}}, {{150, 5}, {150, 295}}}));
    EXPECT_EQ(CrossOf(TwoPointTarget::BottomRight, kFullHd),
              (TargetCross{{{1625, 930}, {1915, 930}}, {{1770, 785}, {1770, 1075}}}));
}

TEST(TwoPointTargets, CaptureZonesExcludeTheirBounds)
{
    const auto none = std::optional<TwoPointTarget>{};
    const auto topLeft = std::optional{TwoPointTarget::TopLeft};
    const auto bottomRight = std::optional{TwoPointTarget::BottomRight};
    struct Case {
        ScreenPoint point;
        std::optional<TwoPointTarget> zone;
    };
    const Case cases[] = {
        {{51, 51}, topLeft},         {{249, 249}, topLeft},       {{50, 150}, none},
        {{150, 250}, none},          {{1671, 831}, bottomRight},  {{1869, 1029}, bottomRight},
        {{1670, 930}, none},         {{1770, 1030}, none},        {{960, 540}, none},
        {{250, 150}, none},          {{150, 50}, none},           {{1870, 930}, none},
        {{1770, 830}, none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TwoPointZoneAt(kFullHd, c.point), c.zone) << At(c.point);

    // On a display this small the zones overlap; top-left is tested first.
    EXPECT_EQ(TwoPointZoneAt({400, 400}, {200, 200}), topLeft);
}

TEST(TwoPointTargets, RingsGrowToFiveAndStartOver)
{
    EXPECT_EQ(NextRingCount(0), 1);
    EXPECT_EQ(NextRingCount(4), 5);
    EXPECT_EQ(NextRingCount(5), 0);
    EXPECT_EQ(RingRadius(0), 20);
    EXPECT_EQ(RingRadius(4), 80);
}

TEST(TargetScreenButtons, SitEitherSideOfTheCentreWithTruncatingDivision)
{
    EXPECT_EQ(TwoPointScreenButtons(kFullHd), (TargetScreenButtons{{764, 514}, {1004, 514}}));
    EXPECT_EQ(NinePointScreenButtons(kFullHd), (TargetScreenButtons{{764, 664}, {1004, 664}}));
    EXPECT_EQ(TwoPointScreenButtons({1025, 769}), (TargetScreenButtons{{316, 358}, {556, 358}}));
}

TEST(NinePointTargets, CentresOnAFullHdDisplay)
{
    // c = 60, d = 33.
    const NinePointLayout layout(kFullHd);
    const ScreenPoint expected[9] = {{60, 33},     {960, 33},    {1860, 33}, {1860, 540}, {1860, 1047},
                                     {960, 1047}, {60, 1047}, {60, 540},  {960, 540}};
    for (int target = 0; target < 9; ++target)
        EXPECT_EQ(layout.Centre(target), expected[target]) << target;
}

TEST(NinePointTargets, CaptureZonesIncludeTheirBoundsAndOuterOnesReachTheEdge)
{
    const NinePointLayout layout(kFullHd);
    EXPECT_EQ(layout.CaptureZone(0), (ScreenRect{{0, 0}, {280, 208}}));
    EXPECT_EQ(layout.CaptureZone(1), (ScreenRect{{740, 0}, {1180, 208}}));
    EXPECT_EQ(layout.CaptureZone(2), (ScreenRect{{1640, 0}, {1920, 208}}));
    EXPECT_EQ(layout.CaptureZone(3), (ScreenRect{{1640, 365}, {1920, 715}}));
    EXPECT_EQ(layout.CaptureZone(4), (ScreenRect{{1640, 872}, {1920, 1080}}));
    EXPECT_EQ(layout.CaptureZone(5), (ScreenRect{{740, 872}, {1180, 1080}}));
    EXPECT_EQ(layout.CaptureZone(6), (ScreenRect{{0, 872}, {280, 1080}}));
    EXPECT_EQ(layout.CaptureZone(7), (ScreenRect{{0, 365}, {280, 715}}));
    EXPECT_EQ(layout.CaptureZone(8), (ScreenRect{{740, 365}, {1180, 715}}));

    struct Case {
        ScreenSize screen;
        ScreenPoint point;
        std::optional<int> zone;
    };
    const Case cases[] = {
        {kFullHd, {280, 208}, 0},
        {kFullHd, {281, 100}, std::nullopt},
        {kFullHd, {500, 540}, std::nullopt},  // between middle-left and centre
        {{1024, 768}, {250, 100}, 0},         // c = 32: zone 0 ends at 252, zone 1 starts at 292
        {{1024, 768}, {291, 100}, std::nullopt},
        {{1024, 768}, {292, 100}, 1},
        {{640, 480}, {200, 50}, 0},  // in zones 0 and 1: the first wins
    };
    for (const Case& c : cases) {
        const NinePointLayout narrow(c.screen);
        EXPECT_EQ(narrow.ZoneAt(c.point), c.zone) << At(c.point) << " on " << c.screen.width;
    }
}

TEST(NinePointTargets, MarkersAndCrosses)
{
    const NinePointLayout layout(kFullHd);
    EXPECT_EQ(layout.MarkerSquare(8), (ScreenRect{{945, 525}, {975, 555}}));
    EXPECT_EQ(layout.CrossOf(0), (TargetCross{{{0, 33}, {280, 33}}, {{60, 0}, {60, 208}}}));
    EXPECT_EQ(layout.CrossOf(4), (TargetCross{{{1640, 1047}, {2080, 1047}}, {{1860, 872}, {1860, 1222}}}));
    EXPECT_EQ(layout.CrossOf(8), (TargetCross{{{740, 540}, {1180, 540}}, {{960, 365}, {960, 715}}}));
}

}  // namespace
}  // namespace zorvane
