// The device setup page on the simulated frame: what its controls show after a read, with or without a
// frame, what a click sends, the control going back when the frame does not take a change, keys, and
// the page's painting.

#include "LinkFixtures.h"
#include "PageControls.h"
#include "PixelProbes.h"
#include "TestApplication.h"

#include "pages/CDeviceSetUpDlg.h"
#include "protocol/CommandTable.h"

#include <QCheckBox>
#include <QPixmap>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace zorvane::testing {
namespace {

using Page = CDeviceSetUpDlg;

constexpr int kRotationIds[] = {Page::kRotation0Radio, Page::kRotation90Radio, Page::kRotation180Radio,
                                Page::kRotation270Radio};
constexpr int kModeIds[] = {Page::kMouseRadio, Page::kTouchRadio, Page::kMultiTouchRadio};
constexpr int kNone = 0;

class DeviceSetupPageTest : public SimulatedLink {
protected:
    void SetUp() override
    {
        SimulatedLink::SetUp();
        TestApplication();
    }

    // The page as the advanced page creates it, which reads the frame.
    void Open()
    {
        page = std::make_unique<Page>();
        page->resize(Page::kPictureWidth, Page::kPictureHeight);
        page->OnInitDialog();
    }

    // The id of the checked radio of a group, kNone when none is.
    template <std::size_t N>
    int Checked(const int (&ids)[N]) const
    {
        const auto found =
            std::ranges::find_if(ids, [&](int id) { return ControlOf<QRadioButton>(*page, id).isChecked(); });
        return found == std::end(ids) ? kNone : *found;
    }
    int Rotation() const { return Checked(kRotationIds); }
    int Mode() const { return Checked(kModeIds); }
    bool Reversed() const { return ControlOf<QCheckBox>(*page, Page::kReverseBox).isChecked(); }

    // On the indicator: a radio's caption covers only part of its width.
    void Click(int id)
    {
        auto& control = ControlOf<QAbstractButton>(*page, id);
        QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(8, control.height() / 2));
    }

    int SentRotations() const
    {
        const auto requests = backend->ReceivedRequests();
        return static_cast<int>(std::ranges::count_if(
            requests, [](const Report& request) { return request[1] == 0xA7 && request[2] == 0x00; }));
    }

    std::unique_ptr<Page> page;
};

TEST_F(DeviceSetupPageTest, ShowsWhatTheFrameHoldsEachTimeItReads)
{
    SetSettings(1, 1, touch_mode::kTouch);
    Open();
    EXPECT_EQ(Rotation(), Page::kRotation90Radio);
    EXPECT_TRUE(Reversed());
    EXPECT_EQ(Mode(), Page::kTouchRadio);

    SetSettings(3, 0, touch_mode::kMultiTouch);
    page->ReadSettings();
    EXPECT_EQ(Rotation(), Page::kRotation270Radio);
    EXPECT_FALSE(Reversed());
    EXPECT_EQ(Mode(), Page::kMultiTouchRadio);
}

TEST_F(DeviceSetupPageTest, WithoutAFrameShowsNoRotationNoReverseAndTheLastKnownMode)
{
    backend->Unplug();
    Open();
    EXPECT_EQ(Rotation(), Page::kRotation0Radio);
    EXPECT_FALSE(Reversed());
    EXPECT_EQ(Mode(), Page::kMouseRadio) << "at program start";

    backend->Replug();
    SetSettings(2, 1, touch_mode::kTouch);
    page->ReadSettings();
    backend->Unplug();
    page->ReadSettings();
    EXPECT_EQ(Rotation(), Page::kRotation0Radio);
    EXPECT_FALSE(Reversed());
    EXPECT_EQ(Mode(), Page::kTouchRadio);
}

TEST_F(DeviceSetupPageTest, AClickTheFrameDoesNotTakeReturnsTheControl)
{
    struct Case {
        const char* name;
        std::function<void()> fail;
    };
    const Case cases[] = {
        {"refused write", [this] { backend->FailAll(Fault::RefusedWrite()); }},
        {"unplugged", [this] { backend->Unplug(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        backend->ClearFaults();
        backend->Replug();
        Open();
        Click(Page::kRotation90Radio);
        Click(Page::kTouchRadio);
        ASSERT_EQ(State().settings.rotation, 1);
        ASSERT_EQ(State().settings.touchMode, touch_mode::kTouch);
        c.fail();

        Click(Page::kRotation270Radio);
        Click(Page::kReverseBox);
        Click(Page::kMultiTouchRadio);

        EXPECT_EQ(Rotation(), Page::kRotation90Radio);
        EXPECT_FALSE(Reversed());
        EXPECT_EQ(Mode(), Page::kTouchRadio);
    }
}

TEST_F(DeviceSetupPageTest, AValueOutOfRangeSelectsNoButtonUntilAClick)
{
    SetSettings(6, 0, 0);
    Open();
    EXPECT_EQ(Rotation(), kNone);
    EXPECT_EQ(Mode(), kNone);

    Click(Page::kMultiTouchRadio);
    Click(Page::kRotation180Radio);

    EXPECT_EQ(Mode(), Page::kMultiTouchRadio);
    EXPECT_EQ(Rotation(), Page::kRotation180Radio);
    EXPECT_EQ(State().settings.touchMode, touch_mode::kMultiTouch);
    EXPECT_EQ(State().settings.rotation, 2);
}

TEST_F(DeviceSetupPageTest, ClickingTheSelectedRotationSendsItAgain)
{
    Open();
    ASSERT_EQ(Rotation(), Page::kRotation0Radio);

    Click(Page::kRotation0Radio);
    Click(Page::kRotation0Radio);

    EXPECT_EQ(SentRotations(), 2);
    EXPECT_EQ(Rotation(), Page::kRotation0Radio);
}

TEST_F(DeviceSetupPageTest, KeysChangeTheSettingsToo)
{
    Open();
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    auto& first = ControlOf<QRadioButton>(*page, Page::kRotation0Radio);
    first.setFocus();

    QTest::keyClick(&first, Qt::Key_Right);
    auto& box = ControlOf<QCheckBox>(*page, Page::kReverseBox);
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Space);

    EXPECT_EQ(Rotation(), Page::kRotation90Radio);
    EXPECT_EQ(State().settings.rotation, 1);
    EXPECT_TRUE(Reversed());
    EXPECT_EQ(State().settings.reversed, 1);
}

TEST_F(DeviceSetupPageTest, PaintsItsHeadingsLabelsAndLines)
{
    Open();
    const QImage picture = page->RenderPicture();
    const QColor line(193, 213, 232);
    EXPECT_TRUE(AllOf(picture, {70, 90, 334, 1}, line));
    for (const int y : {130, 220, 340, 440})
        EXPECT_TRUE(AllOf(picture, {10, y, 804, 1}, line)) << y;
    EXPECT_EQ(picture.pixelColor(404, 90), QColor(241, 248, 252)) << "a line stops short of its end";
    for (const QRect& text : {QRect(20, 20, 80, 20), QRect(20, 150, 80, 20), QRect(110, 63, 40, 16),
                              QRect(210, 63, 150, 16), QRect(110, 103, 50, 16)})
        EXPECT_TRUE(HasInk(picture, text)) << text.x() << "," << text.y();
    EXPECT_TRUE(AllOf(picture, {500, 230, 300, 100}, QColor(241, 248, 252)));

    const QImage shown = page->grab().toImage();
    const auto& radio = ControlOf<QRadioButton>(*page, Page::kMouseRadio);
    EXPECT_EQ(shown.pixelColor(radio.geometry().right() - 1, radio.geometry().center().y()), QColor(241, 248, 252))
        << "controls lie on the page's colour";
}

}  // namespace
}  // namespace zorvane::testing
