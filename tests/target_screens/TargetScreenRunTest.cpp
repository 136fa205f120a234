// Whole runs of both target screens on the simulated frame, touched through the demo's pointer: the
// loop reaches every target, the prompt's answers take their effect on the frame, and failures of
// the link close the screen without committing anything.

#include "TargetScreenFixture.h"

#include "sim/TouchModel.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zorvane {
namespace {

template <typename Screen>
class TargetScreenRun : public testing::OnTargetScreen<Screen> {};
TYPED_TEST_SUITE(TargetScreenRun, testing::BothScreens);

TYPED_TEST(TargetScreenRun, YesCommitsWhatTheScreenWroteAndGivesTheFrameItsSettingsBack)
{
    this->CompleteRun();

    EXPECT_FALSE(this->screen->isVisible());
    EXPECT_FALSE(this->screen->ticking());
    EXPECT_EQ(this->prompts, 1);
    EXPECT_EQ(this->refreshes, 1);
    const FrameState::Calibration kept = this->State().calibration;
    EXPECT_EQ(testing::AsInts(TestFixture::Kind::Kept(kept.stored)), TestFixture::Kind::OnTheWire(this->screen->calibration().session.record));
    EXPECT_NE(kept.stored, kept.factory) << "the delivered mounting needs correcting";
    this->ExpectSettingsRestored();
}

TYPED_TEST(TargetScreenRun, NoResetsTheFrameAndReadsItsRecordAgain)
{
    this->answer = save_answer::kNo;
    this->CompleteRun();

    const FrameState::Calibration kept = this->State().calibration;
    EXPECT_EQ(kept.current, kept.factory);
    EXPECT_EQ(kept.stored, kept.factory);
    EXPECT_EQ(TestFixture::Kind::OnTheWire(this->screen->calibration().session.record), testing::AsInts(TestFixture::Kind::Kept(kept.factory)));
    EXPECT_FALSE(this->screen->isVisible());
    EXPECT_EQ(this->refreshes, 1);
    this->ExpectSettingsRestored();
}

TYPED_TEST(TargetScreenRun, CancelKeepsCalibratingFromTheFirstTargetWithNothingCommitted)
{
    this->answer = save_answer::kCancel;
    const FrameState::CalibrationRecords before = this->State().calibration.stored;
    this->CompleteRun();

    EXPECT_EQ(this->prompts, 1);
    EXPECT_TRUE(this->screen->isVisible());
    EXPECT_TRUE(this->screen->ticking());
    EXPECT_EQ(TestFixture::Kind::ActiveTarget(*this->screen), 0);
    EXPECT_EQ(this->refreshes, 0);
    EXPECT_EQ(this->State().calibration.stored, before);
    EXPECT_EQ(this->State().settings.touchMode, touch_mode::kMouse);
}

// Reaching a nine-point target is a step that asks about saving; a two-point run asks only after a
// correction.
TYPED_TEST(TargetScreenRun, OnAnExactFrameOnlyTheNinePointScreenAsksAboutSaving)
{
    this->MountExactly();
    this->CompleteRun();

    const bool ninePoint = TestFixture::Kind::kKind == CalibrationKind::NinePoint;
    EXPECT_EQ(this->prompts, ninePoint ? 1 : 0);
    EXPECT_FALSE(this->screen->isVisible());
    EXPECT_EQ(this->refreshes, 1);
    this->ExpectSettingsRestored();
}

TYPED_TEST(TargetScreenRun, EscapeAfterOneReachedTargetAsksOnlyOnTheNinePointScreen)
{
    this->MountExactly();
    this->screen->Start();
    this->Hold(TestFixture::Kind::Targets(this->display)[0]);
    QTest::keyClick(this->screen.get(), Qt::Key_Escape);

    EXPECT_EQ(this->prompts, TestFixture::Kind::kKind == CalibrationKind::NinePoint ? 1 : 0);
    EXPECT_FALSE(this->screen->isVisible());
}

// Turned half round and mounted from the back, the corrections go to the record points the turned
// frame's own axes name; the finished record reports every target on its centre.
TYPED_TEST(TargetScreenRun, CalibratesAFrameTurnedHalfRoundAndReversed)
{
    FrameState state = this->State();
    state.settings.rotation = 2;
    state.settings.reversed = 1;
    FrameState::Mounting nominal = state.mounting;
    nominal.xUnitsPerPixel = nominal.yUnitsPerPixel = 1;
    nominal.xRawAtCentre = this->display.width / 2.0;
    nominal.yRawAtCentre = this->display.height / 2.0;
    state.mounting = TurnedWithDisplay(state.mounting, 2, true);
    state.calibration.factory = state.calibration.stored = state.calibration.current =
        ExactRecords(TurnedWithDisplay(nominal, 2, true));
    this->backend->frame().SetState(state);

    this->answer = save_answer::kYes;
    this->CompleteRun();
    EXPECT_EQ(this->prompts, 1);
    EXPECT_EQ(this->screen->calibration().session.orientation, (Orientation{2, 1}));

    // Read in touch mode 1, where the frame reports a pointer.
    state = this->State();
    state.settings.touchMode = touch_mode::kMouse;
    for (ScreenPoint target : TestFixture::Kind::Targets(this->display)) {
        const ScreenPoint reported = ReportedPointer(state, {double(target.x), double(target.y)}).value();
        EXPECT_LE(std::abs(reported.x - target.x), 1) << target.x << "," << target.y;
        EXPECT_LE(std::abs(reported.y - target.y), 1) << target.x << "," << target.y;
    }
}

TYPED_TEST(TargetScreenRun, UnpluggedMidRunTheScreenClosesAtTheNextWriteAndStartsAgainOnceBack)
{
    const FrameState::CalibrationRecords before = this->State().calibration.stored;
    this->screen->Start();
    this->backend->Unplug();
    this->Hold(TestFixture::Kind::Targets(this->display)[0]);

    EXPECT_FALSE(this->screen->isVisible());
    EXPECT_FALSE(this->screen->ticking());
    EXPECT_EQ(this->prompts, 0);
    EXPECT_EQ(this->refreshes, 0);
    EXPECT_EQ(this->State().calibration.stored, before);

    this->backend->Replug();
    this->screen->Start();
    ASSERT_TRUE(this->screen->isVisible());
    EXPECT_TRUE(this->screen->ticking());
    // The frame kept the calibration's touch mode 1 through the power cycle; the technician's comes back.
    EXPECT_EQ(this->screen->calibration().savedTouchMode(), this->kTechniciansTouchMode);
    QTest::keyClick(this->screen.get(), Qt::Key_Escape);
    this->ExpectSettingsRestored();
}

TYPED_TEST(TargetScreenRun, AFailedRecordReadInStartLeavesTheScreenHiddenAndTheFrameAsItWas)
{
    this->backend->FailAll(Fault::RefusedWrite());
    this->screen->Start();
    this->backend->ClearFaults();

    EXPECT_FALSE(this->screen->isVisible());
    EXPECT_FALSE(this->screen->ticking());
    EXPECT_EQ(this->State().settings.touchMode, this->kTechniciansTouchMode);
    EXPECT_EQ(this->State().settings.commandA212, std::nullopt);
}

// A shown screen restarts on its recalculated frame: what it changed no longer asks about saving,
// and the touch mode given back is still the technician's, not the calibration's own.
TYPED_TEST(TargetScreenRun, ARecalculatedFrameRestartsTheRunAndClearsWhatItChanged)
{
    this->screen->Start();
    const ScreenPoint first = TestFixture::Kind::Targets(this->display)[0];
    QTest::mousePress(this->screen.get(), Qt::LeftButton, {}, QPoint(first.x, first.y));
    for (int tick = 0; tick < this->kTickLimit && !this->screen->calibration().changed(); ++tick) {
        this->screen->Tick();
        this->pointer->ReportNow();
    }
    ASSERT_TRUE(this->screen->calibration().changed());
    this->screen->RecalculateFrame();

    EXPECT_TRUE(this->screen->isVisible());
    EXPECT_TRUE(this->screen->ticking());
    EXPECT_FALSE(this->screen->calibration().changed());
    EXPECT_EQ(this->screen->calibration().savedTouchMode(), this->kTechniciansTouchMode);
    QTest::keyClick(this->screen.get(), Qt::Key_Escape);
    EXPECT_EQ(this->prompts, 0);
    this->ExpectSettingsRestored();
}

}  // namespace
}  // namespace zorvane
