// The drawing test's strokes and the picture its worker composes from them, one frame at a time.
#include "drawing/DotMode.h"
#include "drawing/DrawingPaint.h"
#include "drawing/DrawingPicture.h"
#include "drawing/StrokeStore.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

namespace zorvane {
namespace {

using namespace touch_flag;

const QSize kSize(320, 200);
const QColor kPaper(241, 248, 252);
const QColor kGridLine(216, 224, 230);
const QColor kRed(240, 64, 30);
const QColor kBlue(25, 134, 199);

DrawStyle Style(QColor pen = kRed)
{
    return {.lineWidth = 3, .penColour = pen, .paper = kPaper, .gridLine = kGridLine};
}

class Drawing : public ::testing::Test {
protected:
    const QImage& Frame() { return picture.Compose(store, {kSize, style}); }
    const QImage& FrameAfterClear() { return picture.Compose(store, {kSize, style, true}); }
    QColor At(int x, int y) { return Frame().pixelColor(x, y); }

    // A stroke of `contact` along y from x0 to x1 in steps of 10, lifted at x1 when `lift`.
    void Stroke(StrokeStore::ContactId contact, int y, int x0, int x1, bool lift)
    {
        store.Touch(contact, {x0, y}, kDown);
        for (int x = x0 + 10; x < x1; x += 10)
            store.Touch(contact, {x, y}, kMove);
        store.Touch(contact, {x1, y}, lift ? kUp : kMove);
    }

    StrokeStore store;
    DrawingPicture picture;
    DrawStyle style = Style();
};

TEST_F(Drawing, TwoContactsDrawTwoIndependentStrokesAndLiftingOneFreezesOnlyIt)
{
    store.Touch(1, {20, 40}, kDown);
    store.Touch(2, {20, 120}, kDown);
    for (int x = 30; x <= 100; x += 10) {
        store.Touch(1, {x, 40}, kMove);
        store.Touch(2, {x, 120}, kMove);
    }
    EXPECT_EQ(At(60, 40), kRed);
    EXPECT_EQ(At(60, 120), kRed);
    EXPECT_EQ(At(60, 80), kPaper) << "the two contacts' points are not joined";

    store.Touch(1, {110, 40}, kUp);
    store.Touch(1, {200, 40}, kMove);  // after the lift: belongs to no stroke
    store.Touch(2, {200, 120}, kMove);
    EXPECT_EQ(At(110, 40), kRed) << "the lifted stroke ends where its contact lifted";
    EXPECT_EQ(At(160, 40), kPaper);
    EXPECT_EQ(At(160, 120), kRed) << "the other contact's stroke goes on";

    store.Touch(1, {20, 170}, kDown);
    store.Touch(1, {60, 170}, kMove);
    EXPECT_EQ(At(40, 170), kRed);
    EXPECT_EQ(At(150, 100), kPaper) << "a new down starts a stroke of its own";
    EXPECT_EQ(store.strokeCount(), 3u);
}

// Down wins over move and up in the same input; a move or up with no stroke under way does nothing.
TEST_F(Drawing, OnlyADownStartsAStroke)
{
    store.Touch(5, {50, 50}, kMove);
    store.Touch(5, {60, 50}, kUp);
    EXPECT_EQ(store.strokeCount(), 0u);
    store.Touch(5, {50, 100}, kDown | kMove | kUp);
    store.Touch(5, {150, 100}, kMove);
    EXPECT_EQ(At(100, 100), kRed) << "the down started a stroke that is still under way";
}

// A contact that is lost never lifts: its stroke stays under way, is kept beside the next one and is
// painted again with every new pen.
TEST_F(Drawing, AStrokeWithoutUpStaysUnderWay)
{
    Stroke(7, 50, 20, 150, false);
    Stroke(7, 150, 20, 150, true);
    EXPECT_EQ(At(80, 50), kRed);
    EXPECT_EQ(At(80, 150), kRed);

    style = Style(kBlue);
    EXPECT_EQ(At(80, 50), kBlue);
    EXPECT_EQ(At(80, 150), kBlue);
    EXPECT_EQ(store.strokeCount(), 2u);
}

TEST_F(Drawing, ANewStyleRepaintsEveryStrokeWithIt)
{
    Stroke(1, 50, 20, 300, true);
    Stroke(2, 100, 20, 300, false);
    Frame();
    style = Style(kBlue);
    style.lineWidth = 9;
    const QImage& repainted = Frame();
    int red = 0;
    for (int y = 0; y < kSize.height(); ++y)
        for (int x = 0; x < kSize.width(); ++x)
            red += repainted.pixelColor(x, y) == kRed;
    EXPECT_EQ(red, 0);
    EXPECT_EQ(repainted.pixelColor(150, 50 + 4), kBlue) << "with the wider pen";
    EXPECT_EQ(repainted.pixelColor(150, 100 - 4), kBlue);
}

TEST_F(Drawing, ClearForgetsEveryStrokeAndShowsTheGridAgain)
{
    style.gridOn = 1;
    style.gridSpacing = 20;
    Stroke(1, 40, 10, 300, true);
    Stroke(2, 80, 10, 300, false);
    EXPECT_EQ(At(100, 40), kRed);

    const QImage& cleared = FrameAfterClear();
    EXPECT_EQ(cleared.pixelColor(100, 40), kGridLine);
    EXPECT_EQ(cleared.pixelColor(101, 80), kGridLine);
    EXPECT_EQ(cleared.pixelColor(101, 81), kPaper);
    EXPECT_EQ(store.strokeCount(), 0u);
    store.Touch(2, {200, 80}, kMove);
    EXPECT_EQ(At(150, 80), kGridLine) << "a contact's stroke does not outlive the clear";
}

TEST(DrawingPaper, TheGridHasALineAtEveryMultipleOfItsSpacingInsideThePicture)
{
    QImage picture(kSize, QImage::Format_RGB32);
    const DrawStyle style{.gridOn = true, .gridSpacing = 100, .penColour = kRed, .paper = kPaper, .gridLine = kGridLine};
    PaintPaper(picture, style);
    const struct {
        int x, y;
        QColor expected;
    } probes[] = {{0, 10, kPaper},      {99, 10, kPaper},       {100, 10, kGridLine}, {101, 10, kPaper},
                  {300, 199, kGridLine}, {10, 100, kGridLine},  {319, 0, kPaper},     {10, 199, kPaper}};
    for (const auto& probe : probes)
        EXPECT_EQ(picture.pixelColor(probe.x, probe.y), probe.expected) << probe.x << "," << probe.y;

    PaintPaper(picture, {.gridOn = false, .gridSpacing = 100, .penColour = kRed, .paper = kPaper, .gridLine = kGridLine});
    EXPECT_EQ(picture.pixelColor(100, 10), kPaper);
}

TEST_F(Drawing, DotModeDrawsThinLinesWithAFilledDotAtEveryPoint)
{
    style.dotMode = true;
    style.lineWidth = 1;
    store.Touch(1, {40, 100}, kDown);
    store.Touch(1, {100, 100}, kMove);
    Frame();
    store.Touch(1, {160, 100}, kUp);
    const QImage& frame = Frame();
    for (const int x : {40, 100, 160}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(frame.pixelColor(x + 2, 100 + 2), kRed) << "inside the dot";
        EXPECT_EQ(frame.pixelColor(x, 100 + 6), kPaper) << "outside the dot";
    }
    EXPECT_EQ(frame.pixelColor(70, 100), kRed);
    EXPECT_EQ(frame.pixelColor(70, 101), kPaper) << "a one-pixel line between the dots";
}

// However many strokes are finished and however long one goes on without lifting, every point is
// painted once: a frame paints only what came since the one before, and the store keeps the points.
TEST_F(Drawing, NoPointIsPaintedTwiceHoweverManyStrokesAndMoves)
{
    constexpr int kFinished = 5000;
    for (int stroke = 0; stroke < kFinished; ++stroke) {
        store.Touch(1000 + stroke, {stroke % 300, 10}, kDown);
        store.Touch(1000 + stroke, {stroke % 300, 20}, kUp);
    }
    Frame();
    EXPECT_EQ(picture.paintedPoints(), 2u * kFinished);

    constexpr int kMoves = 100000;
    store.Touch(1, {0, 100}, kDown);
    for (int move = 1; move <= kMoves; ++move) {
        store.Touch(1, {move % 320, 100 + move % 50}, kMove);
        if (move % 1000 == 0) {
            const std::size_t before = picture.paintedPoints();
            Frame();
            ASSERT_EQ(picture.paintedPoints() - before, move == 1000 ? 1001u : 1000u) << move;
        }
    }
    EXPECT_EQ(picture.paintedPoints(), 2u * kFinished + 1 + kMoves);
    EXPECT_EQ(store.pointCount(), static_cast<std::size_t>(kMoves));
    EXPECT_EQ(store.strokeCount(), kFinished + 1u);
}

// The width after each Z, and the width chosen in the setup in between.
TEST(DotModeSwitch, LeavingDotModeRestoresTheWidthOfTheFirstSwitch)
{
    DotMode dotMode;
    const struct {
        int widthBefore;
        int widthAfter;
        bool dotModeAfter;
    } presses[] = {{3, 1, true}, {1, 3, false}, {7, 1, true}, {1, 3, false}, {9, 1, true}};
    for (const auto& press : presses) {
        SCOPED_TRACE(press.widthBefore);
        EXPECT_EQ(dotMode.Toggle(press.widthBefore), press.widthAfter);
        EXPECT_EQ(dotMode.on, press.dotModeAfter);
    }
}

}  // namespace
}  // namespace zorvane
