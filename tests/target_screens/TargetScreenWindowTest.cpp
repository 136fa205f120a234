// What the target screens and the save prompt are as windows: keys, pointer events, buttons, cursor
// shapes and pictures.

#include "PixelProbes.h"
#include "TargetScreenFixture.h"

#include "calibration/TargetScreenButtons.h"
#include "pages/CSaveCaldataDlg.h"
#include "widgets/Palette.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace zorvane {
namespace {

using testing::HasInk;
using testing::TextPixels;

template <typename Screen>
class TargetScreenWindow : public testing::OnTargetScreen<Screen> {
protected:
    CMybutton* Button(int id) const
    {
        return this->screen->template findChild<CMybutton*>(QStringLiteral("id%1").arg(id));
    }
};
TYPED_TEST_SUITE(TargetScreenWindow, testing::BothScreens);

TYPED_TEST(TargetScreenWindow, CoversTheScreenWithACrosshairAndArrowsOverItsButtonsWhereItsLayoutPutsThem)
{
    this->screen->Start();
    const TargetScreenButtons places = std::is_same_v<TypeParam, CCalViewDlg> ? TwoPointScreenButtons(this->display)
                                                                               : NinePointScreenButtons(this->display);
    EXPECT_EQ(this->screen->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_EQ(this->screen->cursor().shape(), Qt::CrossCursor);
    for (auto [id, place] : {std::pair{1008, places.exit}, std::pair{1007, places.reset}}) {
        CMybutton* button = this->Button(id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->geometry(), QRect(place.x, place.y, 152, 52)) << id;
        EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor) << id;
    }
}

TYPED_TEST(TargetScreenWindow, EnterHelpAndAltF4KeepTheScreenAndEscapeFinishesIt)
{
    this->screen->Start();
    QTest::keyClick(this->screen.get(), Qt::Key_Return);
    QTest::keyClick(this->screen.get(), Qt::Key_Enter);
    QTest::keyClick(this->screen.get(), Qt::Key_F1);
    QTest::keyClick(this->screen.get(), Qt::Key_Help);
    QTest::keyClick(this->screen.get(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(this->screen->close()) << "a close request of the window system";
    EXPECT_TRUE(this->screen->isVisible());

    QTest::keyClick(this->screen.get(), Qt::Key_Escape);
    EXPECT_FALSE(this->screen->isVisible());
    EXPECT_EQ(this->refreshes, 1);
    this->ExpectSettingsRestored();
}

TYPED_TEST(TargetScreenWindow, TheExitButtonFinishesAndTheResetButtonResetsTheFrame)
{
    FrameState state = this->State();
    state.calibration.current.twoPoint[0] += 9;
    state.calibration.current.ninePoint[0] += 9;
    this->backend->frame().SetState(state);
    this->screen->Start();

    QTest::mouseClick(this->Button(1007), Qt::LeftButton);
    const FrameState::Calibration kept = this->State().calibration;
    EXPECT_EQ(kept.current, kept.factory);
    EXPECT_EQ(TestFixture::Kind::OnTheWire(this->screen->calibration().session.record),
              testing::AsInts(TestFixture::Kind::Kept(kept.factory)));
    EXPECT_TRUE(this->screen->isVisible());

    QTest::mouseClick(this->Button(1008), Qt::LeftButton);
    EXPECT_FALSE(this->screen->isVisible());
}

// Without a pointer factory the screen's own mouse events are the frame's touches.
TEST(TargetScreenPointer, OnlyAMoveWithTheLeftButtonAloneAndNoShiftOrCtrlMovesTheTouch)
{
    testing::TestApplication();
    struct Case {
        const char* what;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
        bool moves;
    };
    const Case cases[] = {
        {"left button", Qt::LeftButton, Qt::NoModifier, true},
        {"left button, Alt held", Qt::LeftButton, Qt::AltModifier, true},
        {"left and right buttons", Qt::LeftButton | Qt::RightButton, Qt::NoModifier, false},
        {"left button, Shift held", Qt::LeftButton, Qt::ShiftModifier, false},
        {"left button, Ctrl held", Qt::LeftButton, Qt::ControlModifier, false},
        {"no button", Qt::NoButton, Qt::NoModifier, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CCalViewDlg screen(nullptr);
        QTest::mousePress(&screen, Qt::LeftButton, {}, QPoint(150, 150));
        QMouseEvent move(QEvent::MouseMove, QPointF(160, 140), QPointF(160, 140), Qt::NoButton, c.buttons,
                         c.modifiers);
        QApplication::sendEvent(&screen, &move);
        const TouchHold& touch = screen.calibration().session.touch;
        EXPECT_TRUE(touch.pressed);
        EXPECT_EQ(touch.pointer, (c.moves ? ScreenPoint{160, 140} : ScreenPoint{150, 150}));
    }
}

// The demo's pointer shows where the frame reports the held finger, and gives nothing while the frame
// moves no pointer (before Start, the frame is in the technician's touch mode).
using DemoPointerOnTheTwoPointScreen = testing::OnTargetScreen<CCalViewDlg>;

TEST_F(DemoPointerOnTheTwoPointScreen, GivesTheFramesReportOfTheHeldFingerAndMarksIt)
{
    const QPoint finger(150, 150);
    QTest::mousePress(screen.get(), Qt::LeftButton, {}, finger);
    EXPECT_FALSE(Touch().pressed) << "no pointer outside touch mode 1";
    QTest::mouseRelease(screen.get(), Qt::LeftButton, {}, finger);

    screen->Start();
    QTest::mousePress(screen.get(), Qt::LeftButton, {}, finger);
    const ScreenPoint reported = backend->frame().ReportTouch({150, 150}).value();
    ASSERT_NE(reported, (ScreenPoint{150, 150})) << "the delivered frame is off";
    EXPECT_TRUE(Touch().pressed);
    EXPECT_EQ(Touch().pointer, reported);
    const QRect marker(reported.x - 8, reported.y - 8, 17, 17);
    EXPECT_GT(testing::CountOf(screen->RenderPicture(), marker, palette::kRed.rgb()), 0);

    QTest::mouseRelease(screen.get(), Qt::LeftButton, {}, finger);
    EXPECT_FALSE(Touch().pressed);
    EXPECT_EQ(testing::CountOf(screen->RenderPicture(), marker, palette::kRed.rgb()), 0);
}

const QColor kCrossColour(193, 213, 232);

// Whether `colour` is within a pixel of `p`.
bool Near(const QImage& picture, ScreenPoint p, const QColor& colour)
{
    return testing::CountOf(picture, QRect(p.x - 1, p.y - 1, 3, 3), colour.rgb()) > 0;
}

using TwoPointPicture = testing::OnTargetScreen<CCalViewDlg>;

TEST_F(TwoPointPicture, CrossesAndDiscsOnBothTargetsAndOneMoreRingAroundTheActiveOneAtEveryStep)
{
    screen->Start();
    const ScreenPoint topLeft = TargetCentre(TwoPointTarget::TopLeft, display);
    const ScreenPoint bottomRight = TargetCentre(TwoPointTarget::BottomRight, display);
    for (int rings = 0; rings <= 5; ++rings) {
        SCOPED_TRACE(rings);
        ASSERT_EQ(screen->ringCount(), rings);
        const QImage picture = screen->RenderPicture();
        for (ScreenPoint centre : {topLeft, bottomRight}) {
            EXPECT_EQ(picture.pixelColor(centre.x, centre.y), palette::kBlue);
            EXPECT_EQ(picture.pixelColor(centre.x - 140, centre.y), kCrossColour);
            EXPECT_EQ(picture.pixelColor(centre.x, centre.y + 140), kCrossColour);
        }
        for (int ring = 0; ring < 5; ++ring) {
            const int radius = 20 + 15 * ring;
            EXPECT_EQ(Near(picture, {topLeft.x, topLeft.y - radius}, palette::kBlue), ring < rings) << radius;
            EXPECT_FALSE(Near(picture, {bottomRight.x, bottomRight.y - radius}, palette::kBlue)) << radius;
        }
        screen->AdvanceAnimation();
    }
    EXPECT_EQ(screen->ringCount(), 0);
}

using NinePointPicture = testing::OnTargetScreen<CCal9ViewDlg>;

TEST_F(NinePointPicture, CrossesAndDiscsOnEveryTargetAndTheMarkerOnEverySecondPaint)
{
    screen->Start();
    const NinePointLayout layout(display);
    const QImage first = screen->RenderPicture();
    const QImage second = screen->RenderPicture();
    for (int target = 0; target < NinePointLayout::kTargetCount; ++target) {
        SCOPED_TRACE(target);
        const ScreenPoint centre = layout.Centre(target);
        EXPECT_EQ(first.pixelColor(centre.x, centre.y), palette::kBlue);
        const ScreenVector inwards{NinePointLayout::Direction(target).x > 0 ? -100 : 100,
                                   NinePointLayout::Direction(target).y > 0 ? -100 : 100};
        EXPECT_TRUE(Near(first, {centre.x + inwards.x, centre.y}, kCrossColour));
        EXPECT_TRUE(Near(first, {centre.x, centre.y + inwards.y}, kCrossColour));
    }
    const ScreenPoint active = layout.Centre(0);
    const ScreenPoint onMarker{active.x + 10, active.y + 11};  // clear of the cross
    EXPECT_NE(Near(first, onMarker, palette::kBlue), Near(second, onMarker, palette::kBlue));
    EXPECT_EQ(Near(first, onMarker, palette::kBlue), Near(screen->RenderPicture(), onMarker, palette::kBlue));
}

class SavePrompt : public ::testing::Test {
protected:
    QApplication& application = testing::TestApplication();  // before the prompt
    CSaveCaldataDlg prompt;
};

TEST_F(SavePrompt, ItsPictureIsAFramedPanelWithATitleBandAndTheQuestion)
{
    EXPECT_EQ(prompt.size(), QSize(372, 170));
    const QImage picture = prompt.RenderPicture();
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(33, 33, 33));
    EXPECT_EQ(picture.pixelColor(371, 169), QColor(33, 33, 33));
    EXPECT_EQ(picture.pixelColor(300, 40), palette::kBlue) << "title band, beside its bitmap";
    EXPECT_EQ(picture.pixelColor(300, 41), palette::kPageBackground);
    EXPECT_EQ(picture.pixelColor(370, 168), palette::kPageBackground);
    EXPECT_NE(picture.pixelColor(100, 20), palette::kBlue) << "the title bitmap";
    const QRect question(50, 80, 180, 20);
    EXPECT_TRUE(HasInk(picture, question));
    EXPECT_GT(TextPixels(picture, question, qRgb(255, 255, 255)), 0) << "on white";
}

TEST_F(SavePrompt, EachButtonEndsItWithItsResultAndEnterAndEscapeDoNot)
{
    const std::tuple<int, QRect> buttons[] = {
        {save_answer::kYes, {50, 130, 75, 25}},
        {save_answer::kNo, {149, 130, 75, 25}},
        {save_answer::kCancel, {248, 130, 75, 25}},
    };
    for (const auto& [id, place] : buttons) {
        SCOPED_TRACE(id);
        auto* button = prompt.findChild<CMybutton*>(QStringLiteral("id%1").arg(id));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), place);
        prompt.open();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(&prompt, key);
        EXPECT_TRUE(prompt.isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(prompt.isVisible());
        EXPECT_EQ(prompt.result(), id);
    }
}

}  // namespace
}  // namespace zorvane
