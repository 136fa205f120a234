// The target screens' loops closed over a model frame: a finger rests on each target in turn, the
// frame reports it through the record the loop keeps writing, and the loop must reach every target
// in every orientation, leaving a record that reports each target on its centre.

#include "FrameTouchModel.h"

#include "calibration/NinePointLoop.h"
#include "calibration/TwoPointLoop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace zorvane {
namespace {

using testing::FrameMounting;
using testing::FrameSettings;
using testing::FrameTouchModel;
using testing::ToVec;
using testing::Vec;

constexpr ScreenSize kScreen{1920, 1080};
constexpr int kTickLimit = 5000;  // per target; a converging loop needs well under a hundred

// A frame whose stored record was made for the nominal mounting, sitting on the display as actual:
// off in scale per axis and in position. The record's raw units per pixel set how far one
// correction moves the pointer: half a pixel per unit for the coarse frames, a sixteenth for the
// fine one, whose last pixel takes many near misses.
struct Mounting {
    const char* name;
    FrameMounting nominal;
    FrameMounting actual;
};
const Mounting kMountings[] = {
    {"coarse, stretched", {{2, 2}, {32768, 32768}}, {{2.1, 1.9}, {32768 + 37, 32768 - 23}}},
    {"coarse, shrunk", {{2, 2}, {32768, 32768}}, {{1.93, 2.06}, {32768 - 41, 32768 + 52}}},
    {"fine", {{16, 16}, {32768, 32768}}, {{16.6, 15.3}, {32768 + 300, 32768 - 250}}},
};

std::string Describe(FrameSettings settings, const Mounting& mounting)
{
    return "rotation " + std::to_string(settings.rotation) + (settings.reversed ? " reversed" : "") + ", " +
           mounting.name;
}

std::vector<FrameSettings> EveryOrientation()
{
    std::vector<FrameSettings> all;
    for (bool reversed : {false, true}) {
        for (int rotation = 0; rotation < 4; ++rotation)
            all.push_back({rotation, reversed});
    }
    return all;
}

Orientation AsQueried(FrameSettings settings)
{
    return {settings.rotation, settings.reversed ? 1 : 0};
}

// A finger rests on one spot until the loop uses the touch up or the tick limit runs out. After
// every tick the frame reports the resting finger through the current record; the window system
// delivers a move only when the pointer lands on another pixel.
template <typename Session, typename Tick>
TickOutcome RestFinger(Vec finger, Session& session, const FrameTouchModel& frame, Tick tick)
{
    ScreenPoint reported = frame.Report(finger, session.record);
    session.touch.Press(reported);
    TickOutcome outcome = TickOutcome::Idle;
    for (int i = 0; i < kTickLimit && outcome != TickOutcome::TargetReached && outcome != TickOutcome::Finish; ++i) {
        outcome = tick();
        const ScreenPoint now = frame.Report(finger, session.record);
        if (now != reported) {
            reported = now;
            session.touch.Move(now);
        }
    }
    session.touch.Release();
    return outcome;
}

// Touches the top-left and then the bottom-right target; true when the loop reached both and finished.
bool CalibrateTwoPoint(const FrameTouchModel& frame, TwoPointSession& session)
{
    int nearMissCount = 0;
    auto tick = [&] { return TwoPointTick(session, nearMissCount, kScreen); };
    return RestFinger(ToVec(TargetCentre(TwoPointTarget::TopLeft, kScreen)), session, frame, tick) ==
               TickOutcome::TargetReached &&
           RestFinger(ToVec(TargetCentre(TwoPointTarget::BottomRight, kScreen)), session, frame, tick) ==
               TickOutcome::Finish;
}

// Touches the nine targets in the marker's order; true when every one was reached and the centre finished.
bool CalibrateNinePoint(const FrameTouchModel& frame, NinePointSession& session)
{
    const NinePointLayout layout(kScreen);
    int nearMissCount = 0;
    auto tick = [&] { return NinePointTick(session, nearMissCount, layout); };
    for (int target = 0; target < NinePointLayout::kTargetCount; ++target) {
        const TickOutcome expected =
            target == NinePointLayout::kCentreTarget ? TickOutcome::Finish : TickOutcome::TargetReached;
        if (RestFinger(ToVec(layout.Centre(target)), session, frame, tick) != expected)
            return false;
    }
    return true;
}

// Each target is reached exactly once, so later corrections of other record values may still move an
// earlier target's report by the rounding: the finger there was only within half a pixel.
void ExpectReportedOn(ScreenPoint centre, ScreenPoint reported)
{
    EXPECT_LE(std::abs(reported.x - centre.x), 1) << "target " << centre.x << "," << centre.y;
    EXPECT_LE(std::abs(reported.y - centre.y), 1) << "target " << centre.x << "," << centre.y;
}

TEST(ClosedLoop, TwoPointReachesBothTargetsInEveryOrientation)
{
    const TwoPointTarget targets[] = {TwoPointTarget::TopLeft, TwoPointTarget::BottomRight};
    for (const FrameSettings& settings : EveryOrientation()) {
        for (const Mounting& mounting : kMountings) {
            SCOPED_TRACE(Describe(settings, mounting));
            const FrameTouchModel frame(kScreen, settings, mounting.actual);
            TwoPointSession session;
            session.record = frame.TwoPointRecordFor(mounting.nominal);
            session.orientation = AsQueried(settings);
            for (TwoPointTarget target : targets) {
                const ScreenPoint centre = TargetCentre(target, kScreen);
                ASSERT_NE(frame.Report(ToVec(centre), session.record), centre) << "the mounting must need correcting";
            }

            ASSERT_TRUE(CalibrateTwoPoint(frame, session));
            for (TwoPointTarget target : targets) {
                const ScreenPoint centre = TargetCentre(target, kScreen);
                ExpectReportedOn(centre, frame.Report(ToVec(centre), session.record));
            }
        }
    }
}

TEST(ClosedLoop, NinePointReachesEveryTargetInEveryOrientation)
{
    const NinePointLayout layout(kScreen);
    for (const FrameSettings& settings : EveryOrientation()) {
        for (const Mounting& mounting : kMountings) {
            SCOPED_TRACE(Describe(settings, mounting));
            const FrameTouchModel frame(kScreen, settings, mounting.actual);
            NinePointSession session;
            session.record = frame.NinePointRecordFor(mounting.nominal);
            session.orientation = AsQueried(settings);
            ASSERT_NE(frame.Report(ToVec(layout.Centre(0)), session.record), layout.Centre(0))
                << "the mounting must need correcting";

            ASSERT_TRUE(CalibrateNinePoint(frame, session));
            for (int target = 0; target < NinePointLayout::kTargetCount; ++target) {
                const ScreenPoint centre = layout.Centre(target);
                ExpectReportedOn(centre, frame.Report(ToVec(centre), session.record));
            }
        }
    }
}

// The correction tables fix how the frame applies its settings: it turns clockwise and mirrors its
// own x before turning. A frame that turned the other way (its r1 being the tables' r3) or mirrored
// after turning (its reversed r1 being the tables' reversed r3) would be corrected in the wrong
// direction: the pointer runs away from the target and out of the capture zone.
TEST(ClosedLoop, TwoPointLoopRunsAwayWhenTheFrameTurnsOtherwiseThanTheTablesSay)
{
    struct Case {
        const char* frameBehaviour;
        FrameSettings frame;
        Orientation queried;
    };
    const Case cases[] = {
        {"turns counter-clockwise, set to 90 degrees", {3, false}, {1, 0}},
        {"turns counter-clockwise, set to 270 degrees", {1, false}, {3, 0}},
        {"mirrors after turning, reversed at 90 degrees", {3, true}, {1, 1}},
        {"mirrors after turning, reversed at 270 degrees", {1, true}, {3, 1}},
    };
    const Mounting& mounting = kMountings[0];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frameBehaviour);
        const FrameTouchModel frame(kScreen, c.frame, mounting.actual);
        TwoPointSession session;
        session.record = frame.TwoPointRecordFor(mounting.nominal);
        session.orientation = c.queried;
        EXPECT_FALSE(CalibrateTwoPoint(frame, session));
        EXPECT_TRUE(session.changed) << "it did try to correct";
    }
}

// The loop adds pixel errors to record values one to one, so it relies on a frame whose record unit
// moves the pointer by at most a pixel. Where one unit moves it two pixels, every correction
// overshoots by the whole error and the pointer swings about the target for ever, in any orientation.
TEST(ClosedLoop, NeverSettlesWhenOneRecordUnitMovesThePointerTwoPixels)
{
    const Mounting coarse{
        "half a unit per pixel", {{0.5, 0.5}, {32768, 32768}}, {{0.52, 0.49}, {32768 + 9, 32768 - 6}}};
    for (const FrameSettings& settings : EveryOrientation()) {
        SCOPED_TRACE(Describe(settings, coarse));
        const FrameTouchModel frame(kScreen, settings, coarse.actual);
        TwoPointSession session;
        session.record = frame.TwoPointRecordFor(coarse.nominal);
        session.orientation = AsQueried(settings);
        EXPECT_FALSE(CalibrateTwoPoint(frame, session));
    }
}

}  // namespace
}  // namespace zorvane
