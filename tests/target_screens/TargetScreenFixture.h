#pragma once

// A target screen on the simulated frame, its touches made through the demo's pointer: a held press
// on a target is a finger resting there, and the frame's report of it reaches the screen. Ticks are
// driven by hand, and the pointer asks the frame after each one, as its own timer would.

#include "LinkFixtures.h"
#include "TestApplication.h"

#include "calibration/NinePointTargets.h"
#include "calibration/TwoPointTargets.h"
#include "demo/SimulatedTouchPointer.h"
#include "pages/CCal9ViewDlg.h"
#include "pages/CCalViewDlg.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zorvane::testing {

// What the tests need to know of each screen's record kind.
template <typename Screen>
struct ScreenKind;

template <>
struct ScreenKind<CCalViewDlg> {
    static constexpr CalibrationKind kKind = CalibrationKind::TwoPoint;

    static std::vector<ScreenPoint> Targets(ScreenSize screen)
    {
        return {TargetCentre(TwoPointTarget::TopLeft, screen), TargetCentre(TwoPointTarget::BottomRight, screen)};
    }
    static int ActiveTarget(const CCalViewDlg& screen)
    {
        return static_cast<int>(screen.calibration().session.activeTarget);
    }
    // The record as the frame keeps it: the four corners.
    static std::vector<int> OnTheWire(const TwoPointCalibration& r)
    {
        return {r.left, r.top, r.right, r.top, r.right, r.bottom, r.left, r.bottom};
    }
    static const auto& Kept(const FrameState::CalibrationRecords& records) { return records.twoPoint; }
};

template <>
struct ScreenKind<CCal9ViewDlg> {
    static constexpr CalibrationKind kKind = CalibrationKind::NinePoint;

    static std::vector<ScreenPoint> Targets(ScreenSize screen)
    {
        const auto centres = NinePointLayout(screen).Centres();
        return {centres.begin(), centres.end()};
    }
    static int ActiveTarget(const CCal9ViewDlg& screen) { return screen.calibration().session.activeTarget; }
    static std::vector<int> OnTheWire(const NinePointCalibration& r) { return {r.values.begin(), r.values.end()}; }
    static const auto& Kept(const FrameState::CalibrationRecords& records) { return records.ninePoint; }
};

template <typename Values>
std::vector<int> AsInts(const Values& values)
{
    return {values.begin(), values.end()};
}

template <typename Screen>
class OnTargetScreen : public SimulatedLink {
protected:
    using Kind = ScreenKind<Screen>;
    static constexpr int kTickLimit = 2000;  // per held touch; a converging run needs far fewer
    static constexpr std::uint8_t kTechniciansTouchMode = touch_mode::kMultiTouch;

    void SetUp() override
    {
        SimulatedLink::SetUp();
        TestApplication();
        backend->SetReenumerationDelay(std::chrono::milliseconds::zero());
        const QSize size = QGuiApplication::primaryScreen()->size();
        display = {size.width(), size.height()};
        FrameState state = State();
        state.calibration.kind = Kind::kKind;
        state.settings.touchMode = kTechniciansTouchMode;
        backend->frame().SetState(state);
        backend->frame().DeliverFor(display);
        screen = std::make_unique<Screen>(nullptr, [this](TargetPointer::Sink sink) {
            auto made = std::make_unique<SimulatedTouchPointer>(backend, std::move(sink));
            pointer = made.get();
            return made;
        });
        screen->SetSavePrompt([this] {
            ++prompts;
            return answer;
        });
        screen->SetRefreshCallback([this] { ++refreshes; });
    }

    // The bezel on the display exactly as its records say: every target reports on its centre.
    void MountExactly()
    {
        FrameState state = State();
        state.mounting.xUnitsPerPixel = 1;
        state.mounting.yUnitsPerPixel = 1;
        state.mounting.xRawAtCentre = display.width / 2.0;
        state.mounting.yRawAtCentre = display.height / 2.0;
        backend->frame().SetState(state);
    }

    const TouchHold& Touch() const { return screen->calibration().session.touch; }

    // A finger rests on `finger` until the run has used the touch up (or the screen closed); the
    // ticks it took.
    int Hold(ScreenPoint finger)
    {
        const QPoint at(finger.x, finger.y);
        QTest::mousePress(screen.get(), Qt::LeftButton, {}, at);
        int ticks = 0;
        for (; ticks < kTickLimit && screen->isVisible() && Touch().pressed; ++ticks) {
            screen->Tick();
            pointer->ReportNow();
        }
        if (screen->isVisible())
            QTest::mouseRelease(screen.get(), Qt::LeftButton, {}, at);
        return ticks;
    }

    // Starts the screen and rests a finger on every target in the marker's order; each touch must be
    // used up, and every target but the last must move the marker on.
    void CompleteRun()
    {
        screen->Start();
        ASSERT_TRUE(screen->isVisible());
        const std::vector<ScreenPoint> targets = Kind::Targets(display);
        for (std::size_t target = 0; target < targets.size(); ++target) {
            ASSERT_LT(Hold(targets[target]), kTickLimit) << "target " << target;
            if (target + 1 < targets.size()) {
                ASSERT_EQ(Kind::ActiveTarget(*screen), static_cast<int>(target + 1));
            }
        }
    }

    // The frame's settings are the technician's again, the screens' commands told the screen closed.
    void ExpectSettingsRestored() const
    {
        const FrameState::Settings settings = State().settings;
        EXPECT_EQ(settings.touchMode, kTechniciansTouchMode);
        EXPECT_EQ(settings.command04, std::optional<std::uint8_t>(1));
        EXPECT_EQ(settings.commandA212, std::optional<std::uint8_t>(1));
    }

    ScreenSize display;
    std::unique_ptr<Screen> screen;
    SimulatedTouchPointer* pointer = nullptr;  // owned by the screen
    int answer = save_answer::kYes;
    int prompts = 0;
    int refreshes = 0;
};

using BothScreens = ::testing::Types<CCalViewDlg, CCal9ViewDlg>;

}  // namespace zorvane::testing
