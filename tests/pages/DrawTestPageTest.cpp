// The full-screen drawing test driven by touch and keys, its frames read back as the window shows them.
#include "PixelProbes.h"
#include "TestApplication.h"
#include "drawing/DotMode.h"
#include "pages/CDrawDlg.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPointingDevice>
#include <QScreen>
#include <QTest>
#include <QTouchEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zorvane::testing {
namespace {

// How long to wait for a frame that must come: far beyond any frame, also under the sanitizers.
constexpr int kBoundMs = 30000;

const QColor kPaper(241, 248, 252);
const QColor kGridLine(216, 224, 230);
const QColor kRed(240, 64, 30);
const QColor kBlue(25, 134, 199);

const DrawSettings kOpening{.lineWidth = 3, .gridOn = 0, .gridSpacing = 20, .penColour = kRed};

class DrawingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { TestApplication(); }

    void SetUp() override { Open(kOpening); }

    void TearDown() override
    {
        drawing.reset();
        delete device;  // the touch device QTest made and left to the test
    }

    void Open(const DrawSettings& settings, DrawingPointer pointer = DrawingPointer::TouchOnly)
    {
        drawing = std::make_unique<CDrawDlg>(settings, nullptr, pointer);
        drawing->SetDrawSetup([this](QWidget*, const DrawSettings& current) {
            setupOpenedWith.push_back(current);
            return setupAnswer;
        });
        drawing->OnInitDialog();
        drawing->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(drawing.get()));
    }

    // A finger `id` put down at `from` and moved in steps of 10 pixels to `to` along one axis.
    void Stroke(int id, QPoint from, QPoint to, bool lift)
    {
        QTest::touchEvent(drawing.get(), device).press(id, from, drawing.get());
        const QPoint step = (to - from) / std::max(1, (to - from).manhattanLength() / 10);
        for (QPoint at = from + step; at != to; at += step)
            QTest::touchEvent(drawing.get(), device).move(id, at, drawing.get());
        if (lift)
            QTest::touchEvent(drawing.get(), device).release(id, to, drawing.get());
        else
            QTest::touchEvent(drawing.get(), device).move(id, to, drawing.get());
    }

    // Waits until the window shows `colour` at every one of `points`.
    bool Shows(const std::vector<QPoint>& points, const QColor& colour)
    {
        return QTest::qWaitFor(
            [&] {
                const QImage frame = drawing->ShownFrame();
                return !frame.isNull() && std::ranges::all_of(points, [&](QPoint p) { return frame.pixelColor(p) == colour; });
            },
            kBoundMs);
    }

    QPointingDevice* device = QTest::createTouchDevice();
    std::unique_ptr<CDrawDlg> drawing;
    std::optional<DrawSettings> setupAnswer;
    std::vector<DrawSettings> setupOpenedWith;
};

TEST_F(DrawingTest, CoversTheScreenAndShowsBarePaper)
{
    EXPECT_EQ(drawing->geometry(), QGuiApplication::primaryScreen()->geometry());
    ASSERT_TRUE(Shows({{0, 0}, {400, 300}}, kPaper));
    EXPECT_TRUE(AllOf(drawing->ShownFrame(), drawing->rect(), kPaper));
}

TEST_F(DrawingTest, TwoFingersDrawTwoStrokesAndLiftingOneFreezesOnlyIt)
{
    QTest::touchEvent(drawing.get(), device).press(0, {50, 100}, drawing.get()).press(1, {50, 300}, drawing.get());
    for (int x = 60; x <= 300; x += 10)
        QTest::touchEvent(drawing.get(), device).move(0, {x, 100}, drawing.get()).move(1, {x, 300}, drawing.get());
    ASSERT_TRUE(Shows({{200, 100}, {200, 300}}, kRed));
    EXPECT_TRUE(Shows({{200, 200}}, kPaper)) << "the fingers' points are not joined";

    QTest::touchEvent(drawing.get(), device).release(0, {300, 100}, drawing.get()).move(1, {310, 300}, drawing.get());
    for (int x = 320; x <= 500; x += 10)
        QTest::touchEvent(drawing.get(), device).move(1, {x, 300}, drawing.get());
    ASSERT_TRUE(Shows({{450, 300}}, kRed)) << "the finger still down draws on";
    EXPECT_TRUE(Shows({{200, 100}, {300, 100}}, kRed)) << "the lifted stroke stays";
    EXPECT_TRUE(Shows({{350, 100}}, kPaper));
}

// A lost contact (the touch is cancelled) leaves its stroke; the next touch draws a stroke of its own.
TEST_F(DrawingTest, ACancelledTouchLeavesItsStrokeAndDrawingGoesOn)
{
    Stroke(0, {50, 100}, {300, 100}, false);
    QTouchEvent cancel(QEvent::TouchCancel, device);
    QCoreApplication::sendEvent(drawing.get(), &cancel);
    Stroke(0, {50, 200}, {300, 200}, true);
    EXPECT_TRUE(Shows({{200, 100}, {200, 200}}, kRed));
    EXPECT_TRUE(Shows({{300, 150}}, kPaper));
}

TEST_F(DrawingTest, CClearsEveryStrokeAndTheGridIsDrawnAgain)
{
    Open({.lineWidth = 3, .gridOn = 1, .gridSpacing = 20, .penColour = kRed});
    Stroke(0, {30, 100}, {300, 100}, true);
    Stroke(1, {30, 200}, {300, 200}, false);
    ASSERT_TRUE(Shows({{40, 100}, {40, 200}, {60, 101}}, kRed));
    QTest::keyClick(drawing.get(), Qt::Key_C);
    EXPECT_TRUE(Shows({{40, 100}, {40, 200}, {60, 101}}, kGridLine));
    EXPECT_TRUE(Shows({{41, 101}}, kPaper));
}

TEST_F(DrawingTest, XThenOkRepaintsEveryStrokeInTheNewColourAndXThenCancelChangesNothing)
{
    Stroke(0, {50, 100}, {300, 100}, true);
    Stroke(1, {50, 200}, {300, 200}, false);
    ASSERT_TRUE(Shows({{200, 100}, {200, 200}}, kRed));

    setupAnswer = std::nullopt;
    QTest::keyClick(drawing.get(), Qt::Key_X);
    EXPECT_EQ(drawing->settings(), kOpening);
    DrawSettings blue = kOpening;
    blue.penColour = kBlue;
    setupAnswer = blue;
    QTest::keyClick(drawing.get(), Qt::Key_X);
    EXPECT_EQ(drawing->settings(), blue);
    EXPECT_TRUE(Shows({{200, 100}, {200, 200}}, kBlue)) << "strokes drawn before take the new colour";
    EXPECT_EQ(CountOf(drawing->ShownFrame(), drawing->rect(), kRed.rgb()), 0);
    ASSERT_EQ(setupOpenedWith.size(), 2u);
    EXPECT_EQ(setupOpenedWith[0], kOpening) << "the setup starts from the settings in force";

    Stroke(1, {310, 200}, {400, 200}, false);
    EXPECT_TRUE(Shows({{350, 200}}, kBlue)) << "and so do the strokes after";
}

TEST_F(DrawingTest, ZSwitchesToDotsAndZTwiceReturnsToTheWidthOfTheFirstZ)
{
    Stroke(0, {50, 100}, {250, 100}, true);
    ASSERT_TRUE(Shows({{150, 101}}, kRed));
    QTest::keyClick(drawing.get(), Qt::Key_Z);
    EXPECT_EQ(drawing->settings().lineWidth, 1);
    EXPECT_TRUE(ProcessDotMode().on);
    EXPECT_TRUE(Shows({{150 + 2, 100 + 2}}, kRed)) << "a dot at a point of the stroke drawn before";
    EXPECT_TRUE(Shows({{155, 101}}, kPaper)) << "a thin line between the dots";

    DrawSettings wide = drawing->settings();
    wide.lineWidth = 7;
    setupAnswer = wide;
    QTest::keyClick(drawing.get(), Qt::Key_X);
    EXPECT_FALSE(ProcessDotMode().on) << "new settings leave dot mode";
    EXPECT_TRUE(Shows({{155, 102}}, kRed));
    QTest::keyClick(drawing.get(), Qt::Key_Z);
    EXPECT_EQ(drawing->settings().lineWidth, 1);
    QTest::keyClick(drawing.get(), Qt::Key_Z);
    EXPECT_EQ(drawing->settings().lineWidth, 3) << "the width of the first Z, not the one chosen since";
    EXPECT_TRUE(Shows({{155, 101}}, kRed));
    EXPECT_TRUE(Shows({{155, 103}}, kPaper));
}

TEST_F(DrawingTest, EnterOtherKeysAndTheCloseRequestDoNothing)
{
    Stroke(0, {50, 100}, {300, 100}, true);
    ASSERT_TRUE(Shows({{50, 100}, {200, 100}, {300, 100}}, kRed));  // the whole stroke, so no later frame adds to it
    const QImage before = drawing->ShownFrame();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_A, Qt::Key_Space, Qt::Key_Delete, Qt::Key_F1}) {
        SCOPED_TRACE(key);
        QTest::keyClick(drawing.get(), key);
        EXPECT_TRUE(drawing->isVisible());
    }
    drawing->close();
    EXPECT_TRUE(drawing->isVisible());
    EXPECT_EQ(drawing->settings(), kOpening);
    EXPECT_FALSE(ProcessDotMode().on);
    EXPECT_TRUE(setupOpenedWith.empty());
    EXPECT_FALSE(drawing->workerStopped());
    EXPECT_TRUE(Shows({{200, 100}}, kRed));
    EXPECT_EQ(drawing->ShownFrame(), before);
}

TEST_F(DrawingTest, EscEndsTheWorkerBeforeTheWindowCloses)
{
    std::optional<bool> workerStoppedWhenClosing;
    QObject::connect(drawing.get(), &QDialog::finished, [this, &workerStoppedWhenClosing] {
        workerStoppedWhenClosing = drawing->workerStopped();
    });
    QTest::keyClick(drawing.get(), Qt::Key_Escape);
    EXPECT_EQ(workerStoppedWhenClosing, true);
    EXPECT_FALSE(drawing->isVisible());
}

// The demo's mouse draws as one more contact; elsewhere only touch input draws.
TEST_F(DrawingTest, TheMouseDrawsOnlyWhereItIsSwitchedOn)
{
    for (const DrawingPointer pointer : {DrawingPointer::TouchOnly, DrawingPointer::TouchAndMouse}) {
        const bool draws = pointer == DrawingPointer::TouchAndMouse;
        SCOPED_TRACE(draws);
        Open(kOpening, pointer);
        QTest::mousePress(drawing.get(), Qt::LeftButton, {}, {50, 100});
        for (int x = 60; x <= 300; x += 10)
            QTest::mouseMove(drawing.get(), {x, 100});
        QTest::mouseRelease(drawing.get(), Qt::LeftButton, {}, {300, 100});
        Stroke(0, {50, 200}, {300, 200}, true);  // a touch comes after the mouse: its frame shows both
        ASSERT_TRUE(Shows({{200, 200}}, kRed));
        EXPECT_EQ(drawing->ShownFrame().pixelColor(200, 100), draws ? kRed : kPaper);
    }
}

}  // namespace
}  // namespace zorvane::testing
