// A chart frame painted from a hand-made value, probed pixel by pixel.
#include "PixelProbes.h"
#include "TestApplication.h"
#include "pages/PaintChart.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>


namespace zorvane {
namespace {

const QRgb kBackground = qRgb(241, 248, 252);
const QRgb kInk = qRgb(33, 33, 33);
const QRgb kRed = qRgb(240, 64, 30);
const QRgb kBlue = qRgb(25, 134, 199);
const QRgb kOrange = qRgb(250, 138, 18);
const QRgb kGreen = qRgb(92, 193, 24);
const QRgb kPurple = qRgb(163, 73, 164);

// The normal view's frame of a prepared 192 x 108 frame: columns 4 pixels wide, value 1 one pixel tall,
// X base line at y 263, Y base line at 555, straight threshold 40.
ChartFrame NormalFrame()
{
    ChartFrame frame;
    frame.info.xReceiverCount = 192;
    frame.info.yReceiverCount = 108;
    frame.info.straightThreshold = 40;
    frame.info.obliqueThreshold = 30;
    frame.info.firmwareVersionText = "0316";
    frame.info.modelText = "ZV-IR65T";
    frame.info.xBoards = {64, 64, 64};
    frame.info.yBoards = {48, 48, 12};
    frame.info.xParamA = 12;
    frame.info.xParamB = 3;
    frame.info.xParamC = 7;
    LayoutChart(frame.geometry, 854, 584);
    PrepareChartGeometry(frame.geometry, frame.info);
    return frame;
}

using testing::CountOf;
using testing::TextPixels;

// The chart's own ink: lines and grid are drawn without smoothing, in exactly this colour.
bool HasChartInk(const QImage& image, const QRect& area) { return CountOf(image, area, kInk) > 0; }

QImage Paint(const ChartFrame& frame)
{
    testing::TestApplication();
    QImage image(frame.geometry.width, frame.geometry.height, QImage::Format_RGB32);
    image.fill(Qt::black);  // whatever was there before: the frame must cover it all
    QPainter painter(&image);
    PaintChart(painter, frame, ChartFonts::Make());
    return image;
}

// The colours of column i of the X side at its bottom and top pixel, and just above it.
struct Column {
    QRgb bottom, top, above;
};
Column XColumn(const QImage& image, int i, int height)
{
    const int x = 4 * i + 3;
    return {image.pixel(x, 261), image.pixel(x, 262 - height), image.pixel(x, 261 - height)};
}


TEST(ChartPainting, ValueColumnsAreBlueFromTwiceTheThresholdAndAsTallAsTheirValue)
{
    ChartFrame frame = NormalFrame();
    frame.selection = {.direction = ScanDirection::Middle, .value = true};
    frame.data.xValue = std::vector<std::int32_t>(181, 0);
    frame.data.xValue[0] = 79;
    frame.data.xValue[1] = 80;
    frame.data.xValue[180] = 255;  // clear of the caption and the parameters above it
    frame.data.yValue = {10};
    const QImage image = Paint(frame);

    const struct {
        int index, value;
        QRgb colour;
    } cases[] = {{0, 79, kRed}, {1, 80, kBlue}, {180, 255, kBlue}};
    for (const auto& c : cases) {
        const Column column = XColumn(image, c.index, c.value);
        EXPECT_EQ(column.bottom, c.colour) << c.value;
        EXPECT_EQ(column.top, c.colour) << c.value;
        EXPECT_NE(column.above, c.colour) << c.value << " is taller than its value";
    }
    EXPECT_EQ(XColumn(image, 2, 1).bottom, kBackground) << "a value of 0 has no column";
    EXPECT_EQ(image.pixel(3, 553), kRed) << "the Y side stands on its own base line";
    EXPECT_EQ(image.pixel(3, 544), kRed);
    EXPECT_EQ(image.pixel(3, 543), kBackground);
    EXPECT_EQ(image.pixel(400, 262), kInk) << "X base line";
    EXPECT_EQ(image.pixel(400, 554), kInk) << "Y base line";

    frame.selection.direction = ScanDirection::Forward;  // the oblique threshold, 30: 60 is enough
    frame.data.xValue = {59, 60};
    const QImage oblique = Paint(frame);
    EXPECT_EQ(XColumn(oblique, 0, 59).bottom, kRed);
    EXPECT_EQ(XColumn(oblique, 1, 60).bottom, kBlue);
}

TEST(ChartPainting, SeriesAreDrawnWhenSwitchedOnInTheirOrderAndColours)
{
    ChartFrame frame = NormalFrame();
    frame.data.xValue = {200};
    frame.data.xStandard = {150};
    frame.data.xPower = {100};
    frame.data.xFluctuation = {50};
    const struct {
        const char* name;
        ScanSelection selection;
        QRgb at20, at120, at170;  // the column's colour 20, 120 and 170 pixels above the base line
    } cases[] = {
        {"none", {}, kBackground, kBackground, kBackground},
        {"value", {.value = true}, kBlue, kBlue, kBlue},
        {"value and power", {.value = true, .power = true}, kGreen, kBlue, kBlue},
        {"all four", {.value = true, .fluctuation = true, .power = true, .standard = true}, kPurple, kOrange, kBlue},
        {"standard alone", {.standard = true}, kOrange, kOrange, kBackground},
    };
    for (const auto& c : cases) {
        frame.selection = c.selection;
        const QImage image = Paint(frame);
        EXPECT_EQ(image.pixel(3, 262 - 20), c.at20) << c.name;
        EXPECT_EQ(image.pixel(3, 262 - 120), c.at120) << c.name;
        EXPECT_EQ(image.pixel(3, 262 - 170), c.at170) << c.name;
    }
}

TEST(ChartPainting, ColumnNumbersStandUnderBothBaseLines)
{
    const struct {
        int receivers;
        bool numbered;
    } cases[] = {{192, true}, {9, false}};
    for (const auto& c : cases) {
        ChartFrame frame = NormalFrame();
        frame.info.xReceiverCount = c.receivers;
        frame.info.yReceiverCount = 0;
        const QImage image = Paint(frame);
        // 10, 30, ... 190 at x = 4 (n - 1); "X--->" takes the first 40 pixels or so.
        for (const int n : {30, 110, 190}) {
            const QRect under(4 * (n - 1), 264, 14, 12);
            EXPECT_EQ(TextPixels(image, under, kInk) > 5, c.numbered) << c.receivers << " receivers, number " << n;
            EXPECT_EQ(TextPixels(image, under.translated(0, 555 - 263), kInk) > 5, c.numbered) << "Y side, " << n;
        }
        EXPECT_EQ(TextPixels(image, QRect(56, 264, 50, 12), kInk), 0) << "no number between 10 and 30";
    }
}

TEST(ChartPainting, GridLinesAreDottedAndLabelledOncePrepared)
{
    ChartFrame frame = NormalFrame();
    const QImage prepared = Paint(frame);
    for (const int y : frame.geometry.gridY) {
        const int dots = CountOf(prepared, QRect(100, y, 300, 1), kInk);
        EXPECT_GT(dots, 60) << y;
        EXPECT_LT(dots, 240) << y << " is a dotted line, not a solid one";
        EXPECT_TRUE(HasChartInk(prepared, QRect(854 - 30, y - 16, 28, 14))) << "label above " << y;
    }

    ChartFrame idle;  // before any start: set-A lines, no labels, no caption
    LayoutChart(idle.geometry, 854, 584);
    const QImage unprepared = Paint(idle);
    EXPECT_GT(CountOf(unprepared, QRect(100, 57, 300, 1), kInk), 60);
    EXPECT_FALSE(HasChartInk(unprepared, QRect(854 - 30, 57 - 16, 28, 14)));
    EXPECT_EQ(CountOf(unprepared, QRect(5, 0, 300, 18), kOrange), 0) << "no caption";
}

TEST(ChartPainting, CaptionAndParametersInOrangeAndTheCursorColumnAndLabel)
{
    ChartFrame frame = NormalFrame();
    frame.selection = {.value = true};
    frame.data.xValue = std::vector<std::int32_t>(192, 100);
    frame.data.yValue = std::vector<std::int32_t>(108, 100);
    const QImage plain = Paint(frame);
    EXPECT_GT(TextPixels(plain, QRect(5, 0, 300, 20), kOrange), 150) << "caption";
    EXPECT_GT(TextPixels(plain, QRect(854 - 90, 15, 88, 20), kOrange), 30) << "X parameters";
    EXPECT_GT(TextPixels(plain, QRect(854 - 90, 263 + 30, 88, 20), kOrange), 30) << "Y parameters";

    const struct {
        ScanAxis axis;
        int labelY;
        int columnBottom;
    } cases[] = {{ScanAxis::X, 20, 261}, {ScanAxis::Y, 263 + 30, 553}};
    for (const auto& c : cases) {
        frame.cursorModeOn = true;
        frame.cursor = {c.axis, 5};
        frame.cursorLabel = "S(Baord01-05)->R(Board01-05)";
        const QImage image = Paint(frame);
        EXPECT_EQ(image.pixel(4 * 4 + 3, c.columnBottom), kInk) << "the cursor column is dark";
        EXPECT_EQ(image.pixel(4 * 5 + 3, c.columnBottom), kBlue) << "its neighbour is not";
        EXPECT_GT(TextPixels(image, QRect(5, c.labelY, 250, 21), kRed), 150) << "label";
        EXPECT_EQ(TextPixels(plain, QRect(5, c.labelY, 250, 21), kRed), 0) << "no label without the cursor mode";
    }
}

}  // namespace
}  // namespace zorvane
