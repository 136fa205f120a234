#include "calibration/TwoPointLoop.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

constexpr ScreenSize kScreen{1920, 1080};
constexpr ScreenPoint kTopLeft{150, 150};
constexpr ScreenPoint kBottomRight{1770, 930};
const TwoPointCalibration kStart{1000, 1000, 2000, 2000, {u'1'}};

// The screen after Start(), driven without a frame: the pointer moves only when the test moves it.
class TwoPointLoop : public ::testing::Test {
protected:
    TwoPointLoop() { session.record = kStart; }

    TickOutcome Tick() { return TwoPointTick(session, nearMissCount, kScreen); }

    // The 40 quiet ticks before a step may run.
    void WaitUntilStill()
    {
        for (int i = 0; i < 40; ++i)
            ASSERT_EQ(Tick(), TickOutcome::Idle) << "tick " << i;
        ASSERT_EQ(session.touch.stillTime, 800);
    }

    TwoPointSession session;
    int nearMissCount = 0;
};

TEST_F(TwoPointLoop, CorrectsOnlyAfterTheFingerRestedFor800Ms)
{
    session.touch.Press({160, 150});
    WaitUntilStill();
    EXPECT_EQ(Tick(), TickOutcome::WriteRecord);
    EXPECT_EQ(session.record.left, 1010);
    EXPECT_TRUE(session.changed);

    // Still from now on, however far the pointer moves within the zone.
    session.touch.Move({200, 200});
    EXPECT_EQ(Tick(), TickOutcome::WriteRecord);
    EXPECT_EQ(session.record.left, 1060);
    EXPECT_EQ(session.record.top, 1050);
}

TEST_F(TwoPointLoop, MovingMoreThanThreePixelsRestartsTheWait)
{
    session.touch.Press({160, 150});
    for (int i = 0; i < 20; ++i)
        Tick();
    session.touch.Move({163, 147});  // 3 pixels from where the stillness began
    Tick();
    EXPECT_EQ(session.touch.stillTime, 420);

    session.touch.Move({164, 150});
    Tick();
    EXPECT_EQ(session.touch.stillTime, 0);
    EXPECT_EQ(session.touch.stillStart, (ScreenPoint{164, 150}));
    WaitUntilStill();
    EXPECT_EQ(session.record, kStart);
}

TEST_F(TwoPointLoop, LiftingTheFingerRestartsTheWait)
{
    session.touch.Press({160, 150});
    for (int i = 0; i < 30; ++i)
        Tick();
    session.touch.Release();
    EXPECT_EQ(session.touch.stillTime, 0);
    EXPECT_EQ(Tick(), TickOutcome::Idle);

    session.touch.Press({160, 150});
    WaitUntilStill();
    EXPECT_EQ(Tick(), TickOutcome::WriteRecord);
}

TEST_F(TwoPointLoop, FingerOutsideBothZonesChangesNothing)
{
    session.activeTarget = TwoPointTarget::BottomRight;
    session.touch.Press({960, 540});
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(Tick(), TickOutcome::Idle);
    EXPECT_EQ(session.touch.stillTime, 0);
    EXPECT_EQ(session.record, kStart);
    EXPECT_EQ(session.activeTarget, TwoPointTarget::BottomRight);
    EXPECT_FALSE(session.changed);
}

TEST_F(TwoPointLoop, TheFingerChoosesTheTarget)
{
    session.touch.Press({1760, 920});
    Tick();
    EXPECT_EQ(session.activeTarget, TwoPointTarget::BottomRight) << "already while waiting";
    for (int i = 0; i < 40; ++i)
        Tick();
    EXPECT_EQ(session.record.right, 1990);
    EXPECT_EQ(session.record.bottom, 1990);
}

TEST_F(TwoPointLoop, ExactHitMovesToBottomRightAndThenFinishes)
{
    nearMissCount = 5;
    session.touch.Press(kTopLeft);
    WaitUntilStill();
    EXPECT_EQ(Tick(), TickOutcome::TargetReached);
    EXPECT_EQ(session.activeTarget, TwoPointTarget::BottomRight);
    EXPECT_FALSE(session.touch.pressed);
    EXPECT_EQ(nearMissCount, 0);
    EXPECT_FALSE(session.changed) << "a hit is no correction";
    EXPECT_EQ(Tick(), TickOutcome::Idle) << "the touch is used up";

    session.touch.Press(kBottomRight);
    WaitUntilStill();
    EXPECT_EQ(Tick(), TickOutcome::Finish);
    EXPECT_FALSE(session.touch.pressed);
    EXPECT_EQ(session.record, kStart);
}

TEST_F(TwoPointLoop, BottomRightFirstFinishesWithoutTopLeft)
{
    session.touch.Press(kBottomRight);
    WaitUntilStill();
    EXPECT_EQ(Tick(), TickOutcome::Finish);
}

TEST_F(TwoPointLoop, TwelfthNearMissMovesThePointerBeforeCorrecting)
{
    session.touch.Press({151, 150});
    WaitUntilStill();
    for (int i = 1; i <= 11; ++i)
        ASSERT_EQ(Tick(), TickOutcome::WriteRecord);
    EXPECT_EQ(session.record.left, 1011);
    EXPECT_EQ(nearMissCount, 11);

    EXPECT_EQ(Tick(), TickOutcome::WriteRecord);
    EXPECT_EQ(session.touch.pointer, (ScreenPoint{150, 149}));
    EXPECT_EQ(session.record.left, 1011) << "the error (1, 0) became (0, -1)";
    EXPECT_EQ(session.record.top, 999);
    EXPECT_EQ(nearMissCount, 0);
}

// Only an error of at most a pixel on each axis counts as a near miss; nothing but a hit clears the
// count, and the nudge is (-1, -1) whatever the error's direction.
TEST_F(TwoPointLoop, NearMissCountCountsOnlyNearMisses)
{
    struct Case {
        const char* name;
        int countBefore;
        ScreenPoint pointer;
        int countAfter;
        ScreenPoint pointerAfter;
    };
    const Case cases[] = {
        {"error of two pixels", 5, {152, 150}, 5, {152, 150}},
        {"large error", 5, {190, 120}, 5, {190, 120}},
        {"diagonal near miss", 5, {149, 149}, 6, {149, 149}},
        {"twelfth diagonal near miss", 11, {149, 149}, 0, {148, 148}},
        {"hit", 5, kTopLeft, 0, kTopLeft},
        {"outside every zone", 5, {500, 500}, 5, {500, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session = {};
        session.record = kStart;
        nearMissCount = c.countBefore;
        session.touch.Press(c.pointer);
        for (int tick = 0; tick <= 40; ++tick)  // the quiet ticks and one step
            Tick();
        EXPECT_EQ(nearMissCount, c.countAfter);
        EXPECT_EQ(session.touch.pointer, c.pointerAfter);
        session.touch.Release();
        Tick();
        EXPECT_EQ(nearMissCount, c.countAfter) << "lifting the finger keeps the count";
    }
}

TEST_F(TwoPointLoop, NearMissCountCarriesOverFromEarlierRuns)
{
    nearMissCount = 11;
    session.touch.Press({151, 151});
    WaitUntilStill();
    Tick();
    EXPECT_EQ(session.touch.pointer, kTopLeft);
    EXPECT_EQ(session.record, kStart) << "the moved pointer has no error left";
    EXPECT_EQ(Tick(), TickOutcome::TargetReached);
}

TEST_F(TwoPointLoop, CorrectsInTheFramesAxes)
{
    session.orientation = {2, 1};
    session.touch.Press({153, 157});
    WaitUntilStill();
    Tick();
    EXPECT_EQ(session.record, (TwoPointCalibration{1003, 1000, 2000, 1993, {u'1'}}));
}

TEST_F(TwoPointLoop, UnknownRotationStillWritesAndCounts)
{
    session.orientation = {4, 0};
    session.touch.Press({160, 150});
    WaitUntilStill();
    EXPECT_EQ(Tick(), TickOutcome::WriteRecord);
    EXPECT_EQ(session.record, kStart);
    EXPECT_TRUE(session.changed);
}

}  // namespace
}  // namespace zorvane
