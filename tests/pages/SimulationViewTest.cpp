// The simulation view: the start button's caption and scale, the scan switches changing the beams drawn,
// the screen it covers, and Enter and Esc closing it when the advanced page runs it modally.

#include "LinkFixtures.h"
#include "PageControls.h"
#include "PixelProbes.h"
#include "TestApplication.h"

#include "pages/CAdvancecdDlg.h"
#include "pages/CSimulationDlg.h"
#include "widgets/Palette.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace zorvane::testing {
namespace {

using View = CSimulationDlg;

class SimulationViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        owner = std::make_unique<QWidget>();
        owner->resize(1006, 713);
        view = std::make_unique<View>(owner.get());
        view->OnInitDialog();
    }

    QPushButton& Button(int id) const { return ControlOf<QPushButton>(*view, id); }

    // Which directions' beams the picture shows: front red, middle green, back blue.
    std::array<bool, 3> BeamsDrawn() const
    {
        const QImage picture = view->RenderPicture();
        const auto drawn = [&](const QColor& colour) { return CountOf(picture, picture.rect(), colour.rgb()) > 0; };
        return {drawn(palette::kRed), drawn(palette::kGreen), drawn(palette::kBlue)};
    }

    std::unique_ptr<QWidget> owner;
    std::unique_ptr<View> view;
};

TEST_F(SimulationViewTest, TheStartButtonTogglesTheRunAndItsCaption)
{
    EXPECT_EQ(Button(View::kStartButton).text(), QStringLiteral("开始"));
    EXPECT_FALSE(view->running());

    ClickControl(*view, View::kStartButton);
    EXPECT_TRUE(view->running());
    EXPECT_EQ(Button(View::kStartButton).text(), QStringLiteral("停止"));
    EXPECT_FLOAT_EQ(view->xScale(), 6208.0f / static_cast<float>(view->width()));
    EXPECT_FLOAT_EQ(view->yScale(), 3520.0f / static_cast<float>(view->height()));

    ClickControl(*view, View::kStartButton);
    EXPECT_FALSE(view->running());
    EXPECT_EQ(Button(View::kStartButton).text(), QStringLiteral("开始"));
}

TEST_F(SimulationViewTest, TheSwitchesChooseTheDirectionsWhoseBeamsAreDrawn)
{
    using Drawn = std::array<bool, 3>;
    EXPECT_EQ(BeamsDrawn(), (Drawn{false, false, false})) << "nothing before the start";
    EXPECT_TRUE(AllOf(view->RenderPicture(), view->rect(), palette::kPageBackground));
    ClickControl(*view, View::kStartButton);
    EXPECT_EQ(BeamsDrawn(), (Drawn{true, true, true}));

    struct Case {
        int button;
        int direction;
        Drawn drawn;  // front, middle, back
    };
    const Case cases[] = {
        {View::kFrontScanButton, View::kFront, {false, true, true}},
        {View::kBackScanButton, View::kBack, {false, true, false}},
        {View::kMiddleScanButton, View::kMiddle, {false, false, false}},
        {View::kFrontScanButton, View::kFront, {true, false, false}},
    };
    for (const Case& c : cases) {
        ClickControl(*view, c.button);
        EXPECT_EQ(BeamsDrawn(), c.drawn) << c.button;
        EXPECT_EQ(view->scanOn(c.direction), c.drawn[c.direction]) << c.button;
        EXPECT_EQ(Button(c.button).isChecked(), c.drawn[c.direction]) << "a switch shows its state";
    }
}

TEST_F(SimulationViewTest, ItCoversTheOwnersScreenWithEveryButtonInReach)
{
    const QRect screen = owner->screen()->geometry();
    EXPECT_EQ(view->geometry(), screen);
    for (int id : {View::kStartButton, View::kFrontScanButton, View::kBackScanButton, View::kMiddleScanButton})
        EXPECT_TRUE(view->rect().contains(Button(id).geometry())) << id;
}

class SimulationFromTheAdvancedPage : public SimulatedLink {
protected:
    void SetUp() override
    {
        SimulatedLink::SetUp();
        TestApplication();
        window = std::make_unique<QWidget>();
        window->resize(1002, 584);
        page = new CAdvancecdDlg(window.get());
        page->OnInitDialog();
    }

    std::unique_ptr<QWidget> window;
    CAdvancecdDlg* page = nullptr;  // owned by the window
};

TEST_F(SimulationFromTheAdvancedPage, EnterAndEscCloseTheModalView)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        bool closedByKey = false;
        QTimer::singleShot(0, [&] {
            auto* shown = dynamic_cast<View*>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            ClickControl(*shown, View::kStartButton);  // running makes no difference
            QTest::keyClick(shown, key);
            closedByKey = !shown->isVisible();
            shown->reject();  // never left open if the key did not close it
        });
        CMybutton& hidden = page->button(CAdvancecdDlg::kNoSubPage);
        ASSERT_TRUE(hidden.isHidden());
        hidden.click();
        EXPECT_TRUE(closedByKey) << key;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(hidden.pinned());
        EXPECT_TRUE(page->subPage(CAdvancecdDlg::kFirmwarePage).isHidden());
    }
}

}  // namespace
}  // namespace zorvane::testing
