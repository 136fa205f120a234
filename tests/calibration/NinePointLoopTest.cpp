#include "calibration/NinePointLoop.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

const NinePointLayout kLayout({1920, 1080});

// The screen after Start(), driven without a frame: the pointer moves only when the test moves it.
class NinePointLoop : public ::testing::Test {
protected:
    NinePointLoop()
    {
        for (auto& value : session.record.values)
            value = 1000;
    }

    TickOutcome Tick() { return NinePointTick(session, nearMissCount, kLayout); }

    // Presses at `at` and runs the 40 quiet ticks before a step may run.
    void RestAt(ScreenPoint at)
    {
        session.touch.Press(at);
        for (int i = 0; i < 40; ++i)
            ASSERT_EQ(Tick(), TickOutcome::Idle) << "tick " << i;
    }

    NinePointSession session;
    int nearMissCount = 0;
};

TEST_F(NinePointLoop, ReachingATargetMovesTheMarkerToTheNextIndex)
{
    RestAt(kLayout.Centre(3));
    EXPECT_EQ(session.activeTarget, 3) << "target 2 was never reached";
    EXPECT_EQ(Tick(), TickOutcome::TargetReached);
    EXPECT_EQ(session.activeTarget, 4);
    EXPECT_FALSE(session.touch.pressed);
    EXPECT_TRUE(session.changed) << "a reach counts as a step";
}

TEST_F(NinePointLoop, CentreFinishesAndAsksOnlyAfterAnEarlierStep)
{
    RestAt(kLayout.Centre(8));
    EXPECT_EQ(Tick(), TickOutcome::Finish);
    EXPECT_FALSE(session.changed) << "reached first: no prompt";

    RestAt(kLayout.Centre(0));
    EXPECT_EQ(Tick(), TickOutcome::TargetReached);
    RestAt(kLayout.Centre(8));
    EXPECT_EQ(Tick(), TickOutcome::Finish);
    EXPECT_TRUE(session.changed);
}

TEST_F(NinePointLoop, PointerOutsideEveryZoneChangesNothing)
{
    session.activeTarget = 3;
    session.touch.Press({500, 540});
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(Tick(), TickOutcome::Idle);
    EXPECT_EQ(session.activeTarget, 3);
    EXPECT_EQ(session.touch.stillTime, 0);
    EXPECT_FALSE(session.changed);
}

TEST_F(NinePointLoop, CorrectsThePointOfTheTargetUnderTheFinger)
{
    RestAt({250, 100});  // zone 0 only
    EXPECT_EQ(Tick(), TickOutcome::WriteRecord);
    EXPECT_EQ(session.record.values[0], 1190);
    EXPECT_EQ(session.record.values[1], 1067);
    EXPECT_TRUE(session.changed);
}

TEST_F(NinePointLoop, TwelfthNearMissCorrectsUprightByTheMeasuredErrorElseByTheMovedOne)
{
    struct Case {
        Orientation orientation;
        std::size_t x;          // the record point's x value; y follows it
        std::int32_t afterEleven[2];
        std::int32_t afterTwelve[2];
    };
    const Case cases[] = {
        // topLeft: eleven times (+1, 0), then (+1, 0) again although the pointer moved to (60, 32).
        {{0, 0}, 0, {1011, 1000}, {1012, 1000}},
        // bottomLeft: eleven times (0, -1) for the error (1, 0), then the moved error (0, -1) gives (-1, 0).
        {{1, 0}, 6, {1000, 989}, {999, 989}},
        // Reversed, topRight: eleven times (-1, 0), then the moved error gives (0, -1).
        {{0, 1}, 2, {989, 1000}, {989, 999}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        for (auto& value : session.record.values)
            value = 1000;
        nearMissCount = 0;
        session.orientation = c.orientation;
        RestAt({61, 33});
        for (int i = 0; i < 11; ++i)
            Tick();
        EXPECT_EQ(session.record.values[c.x], c.afterEleven[0]);
        EXPECT_EQ(session.record.values[c.x + 1], c.afterEleven[1]);
        EXPECT_EQ(Tick(), TickOutcome::WriteRecord);
        EXPECT_EQ(session.touch.pointer, (ScreenPoint{60, 32}));
        EXPECT_EQ(session.record.values[c.x], c.afterTwelve[0]);
        EXPECT_EQ(session.record.values[c.x + 1], c.afterTwelve[1]);
    }
}

TEST_F(NinePointLoop, UnknownRotationStillWritesAndCounts)
{
    const NinePointCalibration before = session.record;
    session.orientation = {9, 0};
    RestAt({70, 40});
    EXPECT_EQ(Tick(), TickOutcome::WriteRecord);
    EXPECT_EQ(session.record, before);
    EXPECT_TRUE(session.changed);
}

}  // namespace
}  // namespace zorvane
