// The drawing setup dialog: the limits of its arrow buttons and the two-digit texts, the grid buttons
// inert while the grid is off, the colour radio chosen from the given colour, what OK and cancel hand
// back, Enter and Escape, and its painting and control colours.

#include "PageControls.h"
#include "PixelProbes.h"
#include "TestApplication.h"

#include "pages/CDrawSetupDlg.h"
#include "widgets/Palette.h"

#include <QApplication>
#include <QCheckBox>
#include <QPixmap>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace zorvane::testing {
namespace {

using Dialog = CDrawSetupDlg;

class DrawSetupDialogTest : public ::testing::Test {
protected:
    void SetUp() override { TestApplication(); }

    // Clicks a bitmap button `times` times.
    static void Press(const Dialog& dialog, int id, int times = 1)
    {
        for (int click = 0; click < times; ++click)
            ClickControl(dialog, id);
    }
    // On the indicator: a caption covers only part of the control.
    static void Tick(const Dialog& dialog, int id)
    {
        auto& control = ControlOf<QAbstractButton>(dialog, id);
        QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(8, control.height() / 2));
    }

    // RunDrawSetup on `settings`, the open dialog worked by `work` once its loop runs.
    static std::optional<DrawSettings> Run(const DrawSettings& settings, std::function<void(Dialog&)> work)
    {
        QTimer::singleShot(0, [work] {
            auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            work(*dialog);
            // A dialog still open would hold the test in its loop for ever.
            EXPECT_FALSE(dialog->isVisible());
            if (dialog->isVisible())
                dialog->done(-1);
        });
        return RunDrawSetup(nullptr, settings);
    }
};

TEST_F(DrawSetupDialogTest, ArrowsStopAtTheirLimitsAndTheTextsShowTwoDigits)
{
    struct Case {
        const char* name;
        DrawSettings start;
        int button;
        int presses;
        int lineWidth, gridSpacing;
        const char* widthText;
        const char* gridText;
    };
    DrawSettings grid;
    grid.gridOn = 1;
    DrawSettings wide = grid;
    wide.lineWidth = 8;
    wide.gridSpacing = 97;
    DrawSettings narrow = grid;
    narrow.lineWidth = 3;
    narrow.gridSpacing = 12;
    const Case cases[] = {
        {"width up", wide, Dialog::kWidthUpButton, 4, 10, 97, "线宽( 10 )", "网格( 97 )"},
        {"width down", narrow, Dialog::kWidthDownButton, 4, 1, 12, "线宽( 01 )", "网格( 12 )"},
        {"spacing up", wide, Dialog::kSpacingUpButton, 5, 8, 100, "线宽( 08 )", "网格( 100 )"},
        {"spacing down", narrow, Dialog::kSpacingDownButton, 4, 3, 10, "线宽( 03 )", "网格( 10 )"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog dialog(c.start);

        Press(dialog, c.button, c.presses);

        EXPECT_EQ(dialog.settings().lineWidth, c.lineWidth);
        EXPECT_EQ(dialog.settings().gridSpacing, c.gridSpacing);
        EXPECT_EQ(dialog.LineWidthText(), QString::fromUtf8(c.widthText));
        EXPECT_EQ(dialog.GridText(), QString::fromUtf8(c.gridText));
    }
}

TEST_F(DrawSetupDialogTest, GridButtonsDoNothingWhileTheGridIsOff)
{
    Dialog dialog(DrawSettings{.gridOn = 0, .gridSpacing = 40});
    Press(dialog, Dialog::kSpacingUpButton);
    Press(dialog, Dialog::kSpacingDownButton, 2);
    EXPECT_EQ(dialog.settings().gridSpacing, 40);
    EXPECT_EQ(dialog.GridText(), QStringLiteral("网格( 40 )"));

    Tick(dialog, Dialog::kGridBox);
    Press(dialog, Dialog::kSpacingUpButton);
    EXPECT_EQ(dialog.settings().gridOn, 1);
    EXPECT_EQ(dialog.settings().gridSpacing, 41);
}

TEST_F(DrawSetupDialogTest, TheGivenColourSelectsItsRadio)
{
    struct Case {
        QColor colour;
        int radio;  // 0: none
    };
    const Case cases[] = {
        {palette::kRed, Dialog::kRedRadio},
        {palette::kGreen, Dialog::kGreenRadio},
        {palette::kOrange, Dialog::kYellowRadio},
        {palette::kBlue, Dialog::kBlueRadio},
        {QColor(1, 2, 3), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour.name().toStdString());
        const Dialog dialog(DrawSettings{.penColour = c.colour});
        for (int id : {Dialog::kRedRadio, Dialog::kGreenRadio, Dialog::kYellowRadio, Dialog::kBlueRadio})
            EXPECT_EQ(ControlOf<QRadioButton>(dialog, id).isChecked(), id == c.radio) << id;
        EXPECT_EQ(dialog.colourIndex(), c.radio ? c.radio - Dialog::kRedRadio : -1);
    }
}

TEST_F(DrawSetupDialogTest, OkHandsBackTheEditsAndCancelNothing)
{
    const DrawSettings start;
    const auto edit = [](Dialog& dialog) {
        Tick(dialog, Dialog::kBlueRadio);
        Tick(dialog, Dialog::kGridBox);
        Press(dialog, Dialog::kSpacingUpButton, 3);
        Press(dialog, Dialog::kWidthDownButton);
    };
    const std::optional<DrawSettings> edited = Run(start, [&](Dialog& dialog) {
        edit(dialog);
        Press(dialog, Dialog::kOkButton);
    });
    ASSERT_TRUE(edited);
    EXPECT_EQ(*edited, (DrawSettings{.lineWidth = start.lineWidth - 1,
                                     .gridOn = 1,
                                     .gridSpacing = start.gridSpacing + 3,
                                     .penColour = palette::kBlue}));

    EXPECT_FALSE(Run(start, [&](Dialog& dialog) {
        edit(dialog);
        Press(dialog, Dialog::kCancelButton);
    }));
}

TEST_F(DrawSetupDialogTest, EnterIsOkAndEscapeIsCancel)
{
    const auto pressing = [](Qt::Key key) {
        return [key](Dialog& dialog) {
            Tick(dialog, Dialog::kGreenRadio);
            QTest::keyClick(&dialog, key);
        };
    };
    const std::optional<DrawSettings> entered = Run({}, pressing(Qt::Key_Return));
    ASSERT_TRUE(entered);
    EXPECT_EQ(entered->penColour, palette::kGreen);
    EXPECT_FALSE(Run({}, pressing(Qt::Key_Escape)));
}

TEST_F(DrawSetupDialogTest, PaintsItsFrameTitleLinesTextsAndControlColours)
{
    Dialog dialog(DrawSettings{.gridOn = 1});
    const QImage picture = dialog.RenderPicture();
    const int w = Dialog::kWidth;
    const int h = Dialog::kHeight;
    EXPECT_EQ(picture.size(), QSize(w, h));
    EXPECT_TRUE(AllOf(picture, {0, 0, w, 1}, palette::kBlue));
    EXPECT_TRUE(AllOf(picture, {0, h - 1, w, 1}, palette::kBlue));
    EXPECT_TRUE(AllOf(picture, {w - 1, 0, 1, h}, palette::kBlue));
    EXPECT_TRUE(AllOf(picture, {201, 1, w - 202, 40}, palette::kBlue)) << "the band right of the title";
    EXPECT_GT(TextPixels(picture, {1, 1, 200, 39}, qRgb(255, 255, 255)), 20) << "the white title";
    EXPECT_TRUE(AllOf(picture, {5, 100, w - 11, 1}, palette::kLine));
    EXPECT_TRUE(AllOf(picture, {230, 45, 1, 50}, palette::kLine));
    EXPECT_TRUE(AllOf(picture, {5, 170, w - 11, 1}, palette::kLine));
    EXPECT_EQ(picture.pixelColor(1, 41), palette::kPageBackground);
    EXPECT_TRUE(HasInk(picture, {40, 60, 100, 20}));
    EXPECT_TRUE(HasInk(picture, {250, 60, 100, 20}));

    const QImage shown = dialog.grab().toImage();
    for (int id :
         {Dialog::kRedRadio, Dialog::kGreenRadio, Dialog::kYellowRadio, Dialog::kBlueRadio, Dialog::kGridBox}) {
        const auto& control = ControlOf<QWidget>(dialog, id);
        const QColor expected = control.palette().color(QPalette::Window);
        EXPECT_EQ(shown.pixelColor(control.geometry().right() - 1, control.geometry().top() + 1), expected) << id;
    }
    EXPECT_EQ(ControlOf<QWidget>(dialog, Dialog::kYellowRadio).palette().color(QPalette::Window), palette::kOrange);
    EXPECT_EQ(ControlOf<QWidget>(dialog, Dialog::kGridBox).palette().color(QPalette::Window), palette::kGreen);
}

}  // namespace
}  // namespace zorvane::testing
