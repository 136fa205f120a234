// The advanced page on the simulated frame: which sub-page each index shows with which button pinned,
// the calibration and settings buttons reading the frame each time, and Escape kept from the window.

#include "LinkFixtures.h"
#include "PixelProbes.h"
#include "TestApplication.h"

#include "pages/CAdvancecdDlg.h"
#include "pages/CCalibrationDlg.h"
#include "pages/CDeviceSetUpDlg.h"
#include "protocol/CommandTable.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace zorvane::testing {
namespace {

using Page = CAdvancecdDlg;

class AdvancedPageTest : public SimulatedLink {
protected:
    void SetUp() override
    {
        SimulatedLink::SetUp();
        TestApplication();
        window = std::make_unique<QDialog>();
        window->resize(1002, 584);
        page = new Page(window.get());
        page->OnInitDialog();
    }

    // The sub-pages that show and the buttons that are pinned, both by SubPage.
    std::vector<int> Shown() const
    {
        std::vector<int> shown;
        for (Page::SubPage sub : {Page::kFirmwarePage, Page::kCalibrationPage, Page::kSetupPage})
            if (!page->subPage(sub).isHidden())
                shown.push_back(sub);
        return shown;
    }
    std::vector<int> Pinned() const
    {
        std::vector<int> pinned;
        for (Page::SubPage sub : {Page::kFirmwarePage, Page::kCalibrationPage, Page::kSetupPage, Page::kNoSubPage})
            if (page->button(sub).pinned())
                pinned.push_back(sub);
        return pinned;
    }

    int Queries(const Command& command) const
    {
        const Report query = command.request;
        const auto requests = backend->ReceivedRequests();
        return static_cast<int>(std::ranges::count_if(
            requests, [&](const Report& request) { return std::equal(request.begin(), request.begin() + 3, query.begin()); }));
    }

    int KindQueries() const { return Queries(commands::GetCalibrationKind()); }
    int RotationQueries() const { return Queries(commands::GetRotation()); }

    void Click(Page::SubPage sub) { QTest::mouseClick(&page->button(sub), Qt::LeftButton); }

    std::unique_ptr<QDialog> window;
    Page* page = nullptr;  // owned by the window
};

TEST_F(AdvancedPageTest, EachIndexShowsItsSubPageAloneWithItsButtonPinned)
{
    EXPECT_EQ(Shown(), std::vector<int>{Page::kFirmwarePage});
    EXPECT_EQ(Pinned(), std::vector<int>{Page::kFirmwarePage});
    EXPECT_TRUE(page->button(Page::kNoSubPage).isHidden());
    EXPECT_FALSE(page->button(Page::kSetupPage).isHidden());

    for (int index : {Page::kSetupPage, Page::kCalibrationPage, Page::kFirmwarePage}) {
        page->ShowSubPage(index);
        EXPECT_EQ(Shown(), std::vector<int>{index}) << index;
        EXPECT_EQ(Pinned(), std::vector<int>{index}) << index;
    }
    page->ShowSubPage(Page::kNoSubPage);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(Pinned(), std::vector<int>{Page::kNoSubPage});
}

TEST_F(AdvancedPageTest, TheCalibrationButtonReadsTheFrameEachTime)
{
    EXPECT_EQ(KindQueries(), 1) << "while the sub-page is created";
    Click(Page::kCalibrationPage);
    Click(Page::kCalibrationPage);
    EXPECT_EQ(KindQueries(), 3);
    EXPECT_EQ(Shown(), std::vector<int>{Page::kCalibrationPage});

    Click(Page::kSetupPage);
    EXPECT_EQ(Shown(), std::vector<int>{Page::kSetupPage});
    Click(Page::kFirmwarePage);
    EXPECT_EQ(Shown(), std::vector<int>{Page::kFirmwarePage});
    EXPECT_EQ(KindQueries(), 3);
}

TEST_F(AdvancedPageTest, TheSettingsButtonReadsTheFrameEachTimeAndShowsThePageWithoutOne)
{
    EXPECT_EQ(RotationQueries(), 1) << "while the sub-page is created";
    Click(Page::kSetupPage);
    Click(Page::kSetupPage);
    EXPECT_EQ(RotationQueries(), 3);
    EXPECT_EQ(Shown(), std::vector<int>{Page::kSetupPage});

    FrameState state = backend->frame().state();
    state.settings.rotation = 2;
    backend->frame().SetState(state);
    backend->Unplug();
    Click(Page::kFirmwarePage);
    Click(Page::kSetupPage);
    EXPECT_EQ(Shown(), std::vector<int>{Page::kSetupPage});
    EXPECT_EQ(page->setupPage().model().rotation(), 0);
}

TEST_F(AdvancedPageTest, TabAndSpaceReachTheSetupPage)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    CMybutton& calibration = page->button(Page::kCalibrationPage);
    calibration.setFocus();
    EXPECT_EQ(calibration.PictureToShow(), CMybutton::kNormal) << "focus not moved by the keyboard shows nothing";
    page->button(Page::kFirmwarePage).setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    CMybutton& settings = page->button(Page::kSetupPage);
    ASSERT_TRUE(settings.hasFocus());
    EXPECT_EQ(settings.PictureToShow(), CMybutton::kHover) << "the focus shows";

    QTest::keyClick(&settings, Qt::Key_Space);

    EXPECT_EQ(Shown(), std::vector<int>{Page::kSetupPage});
    EXPECT_EQ(RotationQueries(), 2);
}

TEST_F(AdvancedPageTest, EscapeOnThePageOrItsButtonsLeavesTheWindowOpen)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::keyClick(page, Qt::Key_Escape);
    QTest::keyClick(&page->button(Page::kCalibrationPage), Qt::Key_Escape);
    QTest::keyClick(&page->calibrationPage(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(AdvancedPageTest, ThePaintingHasItsButtonBarAndLine)
{
    const QImage picture = page->RenderPicture();
    EXPECT_TRUE(AllOf(picture, {0, 0, 175, 584}, QColor(215, 231, 246)));
    EXPECT_TRUE(AllOf(picture, {175, 0, 1, 584}, QColor(193, 213, 232)));
    EXPECT_TRUE(AllOf(picture, {176, 0, 828, 584}, QColor(241, 248, 252)));
}

}  // namespace
}  // namespace zorvane::testing
