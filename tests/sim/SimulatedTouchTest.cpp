// The simulated frame's touch model: a finger on the display through the mounting, the applied
// record and the orientation settings to the pointer position it reports.
#include "sim/SimulatedFrame.h"

#include "calibration/NinePointTargets.h"
#include "calibration/TwoPointTargets.h"
#include "protocol/CommandTable.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

namespace zorvane {
namespace {

FingerPosition At(ScreenPoint p)
{
    return {static_cast<double>(p.x), static_cast<double>(p.y)};
}

std::vector<ScreenPoint> EveryTarget(ScreenSize display)
{
    std::vector<ScreenPoint> targets = {TargetCentre(TwoPointTarget::TopLeft, display),
                                        TargetCentre(TwoPointTarget::BottomRight, display)};
    const NinePointLayout layout(display);
    for (int target = 0; target < NinePointLayout::kTargetCount; ++target)
        targets.push_back(layout.Centre(target));
    return targets;
}

// A frame that moves the pointer: in touch mode 1, as the target screens set it.
FrameState InMouseMode()
{
    FrameState state;
    state.settings.touchMode = touch_mode::kMouse;
    return state;
}

// A frame calibrated perfectly for its mounting, its settings saying how it is mounted.
FrameState CalibratedFrame(const FrameState::Mounting& mounting, CalibrationKind kind)
{
    FrameState state = InMouseMode();
    state.mounting = mounting;
    state.settings.rotation = mounting.rotation;
    state.settings.reversed = mounting.reversed ? 1 : 0;
    state.calibration.kind = kind;
    state.calibration.current = ExactRecords(mounting);
    return state;
}

TEST(SimulatedTouch, ExactRecordsReportEveryFingerWhereItRestsInEveryOrientation)
{
    const FrameState::Mounting mountings[] = {
        {{1920, 1080}, 0, false, 1.0, 1.0, 960, 540},
        {{1024, 768}, 0, false, 16.6, 15.3, 32768 + 300, 32768 - 250},
    };
    for (const FrameState::Mounting& base : mountings) {
        for (bool reversed : {false, true}) {
            for (std::uint8_t rotation = 0; rotation < 4; ++rotation) {
                const FrameState::Mounting mounting = TurnedWithDisplay(base, rotation, reversed);
                for (CalibrationKind kind : {CalibrationKind::TwoPoint, CalibrationKind::NinePoint}) {
                    SCOPED_TRACE("rotation " + std::to_string(rotation) + (reversed ? " reversed" : "") + ", kind " +
                                 std::to_string(static_cast<int>(kind)) + ", " + std::to_string(base.display.width));
                    const FrameState state = CalibratedFrame(mounting, kind);
                    std::vector<ScreenPoint> fingers = EveryTarget(mounting.display);
                    fingers.push_back({mounting.display.width / 3, mounting.display.height / 5});
                    EXPECT_EQ(state.calibration.current, ExactRecords(base)) << "the bezel sees no difference";
                    for (ScreenPoint finger : fingers) {
                        const auto reported = ReportedPointer(state, At(finger));
                        ASSERT_TRUE(reported);
                        // The record holds raw readings rounded to whole units.
                        EXPECT_NEAR(reported->x, finger.x, 1) << finger.x << "," << finger.y;
                        EXPECT_NEAR(reported->y, finger.y, 1) << finger.x << "," << finger.y;
                    }
                }
            }
        }
    }
}

TEST(SimulatedTouch, DefaultFrameHoldsTheUnitPerPixelRecordsAndNeedsCalibrating)
{
    const FrameState state;
    EXPECT_EQ(ExactRecords({{1920, 1080}, 0, false, 1.0, 1.0, 960, 540}), state.calibration.factory);
    EXPECT_EQ(state.calibration.current, state.calibration.factory);
    SimulatedFrame frame(InMouseMode());
    for (TwoPointTarget target : {TwoPointTarget::TopLeft, TwoPointTarget::BottomRight}) {
        const ScreenPoint centre = TargetCentre(target, state.mounting.display);
        const auto reported = frame.ReportTouch(At(centre));
        ASSERT_TRUE(reported);
        EXPECT_NE(*reported, centre);
    }
}

// The settings turn the firmware's output whatever the bezel's real mounting: wrong settings put the
// pointer elsewhere (mirroring the mounting error too), and the window system keeps it on the display.
TEST(SimulatedTouch, SettingsThatDisagreeWithTheMountingTurnThePointer)
{
    struct Case {
        const char* name;
        std::uint8_t rotation;
        std::uint8_t reversed;
        FingerPosition finger;
        ScreenPoint reported;
    };
    const Case cases[] = {
        {"set to 180 degrees", 2, 0, {150, 150}, {1780, 930}},
        {"set to reversed", 0, 1, {150, 150}, {1780, 150}},
        {"upright, read beyond the edge", 0, 0, {4, 20}, {0, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameState state = CalibratedFrame({{1920, 1080}, 0, false, 1.0, 1.0, 960, 540}, CalibrationKind::TwoPoint);
        state.mounting.xRawAtCentre -= 10;  // reads 10 px to the left of the finger
        state.settings.rotation = c.rotation;
        state.settings.reversed = c.reversed;
        EXPECT_EQ(ReportedPointer(state, c.finger), c.reported);
    }
}

// The target screens rely on a written record taking effect before the next touch report, and on the
// frame calibrating with the record of its kind.
TEST(SimulatedTouch, WrittenRecordAppliesFromTheNextTouchOn)
{
    SimulatedFrame frame(CalibratedFrame({{1920, 1080}, 0, false, 1.0, 1.0, 960, 540}, CalibrationKind::TwoPoint));
    const FingerPosition topLeft{150, 150};
    ASSERT_EQ(frame.ReportTouch(topLeft), (ScreenPoint{150, 150}));

    std::array<std::uint16_t, kTwoPointValues> corners = frame.state().calibration.current.twoPoint;
    corners[0] = static_cast<std::uint16_t>(corners[0] + 10);  // left
    corners[6] = corners[0];
    corners[1] = static_cast<std::uint16_t>(corners[1] - 4);  // top
    corners[3] = corners[1];
    ASSERT_EQ(frame.Answer(commands::WriteTwoPointCalibration(corners).request).size(), 1u);
    EXPECT_EQ(frame.ReportTouch(topLeft), (ScreenPoint{140, 154}));

    std::array<std::uint16_t, kNinePointValues> points = frame.state().calibration.current.ninePoint;
    points[0] = static_cast<std::uint16_t>(points[0] - 5);  // topLeft x: the finger on it reads 5 px right
    ASSERT_EQ(frame.Answer(commands::WriteNinePointCalibration(points).request).size(), 1u);
    EXPECT_EQ(frame.ReportTouch(topLeft), (ScreenPoint{140, 154})) << "still two-point";
    ASSERT_EQ(frame.Answer(commands::SetCalibrationKind(CalibrationKind::NinePoint).request).size(), 1u);
    EXPECT_EQ(frame.ReportTouch({60, 33}), (ScreenPoint{65, 33}));
}

// Only touch mode 1 moves the pointer, and only for a finger on the display.
TEST(SimulatedTouch, NoPointerOutsideTouchMode1InScanModeInTheBootloaderOrOffTheDisplay)
{
    struct Case {
        const char* name;
        void (*change)(FrameState&);
        FingerPosition finger;
        bool reported;
    };
    const Case cases[] = {
        {"touch mode 1", [](FrameState&) {}, {500, 500}, true},
        {"touch mode 2", [](FrameState& s) { s.settings.touchMode = touch_mode::kTouch; }, {500, 500}, false},
        {"touch mode 3", [](FrameState& s) { s.settings.touchMode = touch_mode::kMultiTouch; }, {500, 500}, false},
        {"scan mode", [](FrameState& s) { s.settings.scanMode = true; }, {500, 500}, false},
        {"bootloader", [](FrameState& s) { s.running = Personality::Bootloader; }, {500, 500}, false},
        {"left of the display", [](FrameState&) {}, {-0.5, 500}, false},
        {"below the display", [](FrameState&) {}, {500, 1080}, false},
    };
    for (const Case& c : cases) {
        FrameState state = InMouseMode();
        c.change(state);
        EXPECT_EQ(ReportedPointer(state, c.finger).has_value(), c.reported) << c.name;
    }
}

// The demo lies the frame on whatever screen it runs on. Delivered for the default display it is the
// default frame; on another it reports every target off its centre as the default does, yet never a
// half unit off: there no whole record value would put the pointer on the target.
TEST(SimulatedTouch, DeliveredForADisplayTheFrameNeedsCalibratingAndCanBeCalibrated)
{
    FrameState same;
    DeliverForDisplay(same, FrameState{}.mounting.display);
    EXPECT_EQ(same.mounting.xRawAtCentre, FrameState{}.mounting.xRawAtCentre);
    EXPECT_EQ(same.mounting.yRawAtCentre, FrameState{}.mounting.yRawAtCentre);
    EXPECT_EQ(same.calibration.factory, FrameState{}.calibration.factory);

    // On 800 x 600 and 1600 x 900 the default error reads some targets exactly a half unit off.
    for (ScreenSize display : {ScreenSize{800, 600}, ScreenSize{1600, 900}, ScreenSize{1366, 768}}) {
        SCOPED_TRACE(std::to_string(display.width) + " x " + std::to_string(display.height));
        FrameState state;
        DeliverForDisplay(state, display);
        EXPECT_EQ(state.calibration.stored, state.calibration.factory);
        state.settings.touchMode = touch_mode::kMouse;
        SimulatedFrame frame(state);
        const std::vector<ScreenPoint> targets = EveryTarget(display);
        EXPECT_NE(frame.ReportTouch(At(targets[0])), targets[0]);
        const FrameState::Mounting& m = state.mounting;
        for (ScreenPoint target : targets) {
            const double rawX = m.xRawAtCentre + m.xUnitsPerPixel * (target.x - display.width / 2.0);
            const double rawY = m.yRawAtCentre + m.yUnitsPerPixel * (target.y - display.height / 2.0);
            EXPECT_GT(std::abs(rawX - std::floor(rawX) - 0.5), 0.05) << target.x;
            EXPECT_GT(std::abs(rawY - std::floor(rawY) - 0.5), 0.05) << target.y;
        }
    }
}

}  // namespace
}  // namespace zorvane
