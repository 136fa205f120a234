#include "ImageFile.h"
#include "MainWindowFixture.h"
#include "widgets/Artwork.h"
#include "app/CAboutDlg.h"
#include "pages/CAdvancecdDlg.h"
#include "pages/CDrawDlg.h"
#include "pages/ColumnSelectDlg.h"
#include "pages/CPenTestDlg.h"
#include "pages/CUpdateFirmDlg.h"
#include "protocol/FirmwareUpdater.h"
#include "sim/FirmwareImages.h"

#include <QApplication>
#include <QAbstractButton>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace zorvane::testing {
namespace {

using Slot = CZorvaneTestDlg::Slot;
using Strings = std::vector<std::string>;

constexpr int kHome = static_cast<int>(Slot::Home);
constexpr int kPenTest = static_cast<int>(Slot::PenTest);
constexpr int kAdvanced = static_cast<int>(Slot::Advanced);
constexpr int kChartView = static_cast<int>(Slot::ChartView);
constexpr int kSelectionPanel = static_cast<int>(Slot::SelectionPanel);

// Ends every drawing test with Esc as soon as it runs modally, noting where it opened and how.
class DrawingTestEnder {
public:
    struct Opened {
        QRect geometry;
        DrawSettings settings;
    };

    DrawingTestEnder()
    {
        timer_.callOnTimeout([this] {
            auto* drawing = dynamic_cast<CDrawDlg*>(QApplication::activeModalWidget());
            if (!drawing)
                return;
            opened.push_back({drawing->geometry(), drawing->settings()});
            QTest::keyClick(drawing, Qt::Key_Escape);
        });
        timer_.start(0);
    }

    std::vector<Opened> opened;

private:
    QTimer timer_;
};

TEST_F(OnMainWindow, StartShowsTheHomePagePinnedAfterTwoDetections)
{
    EXPECT_EQ(IdentityQueries(), 2);
    EXPECT_EQ(ShownSlots(), std::vector<int>{kHome});
    EXPECT_EQ(PinnedPage(), CZorvaneTestDlg::kHomePage);
    EXPECT_EQ(window->deviceConnected(), 1);
    EXPECT_EQ(window->size(), QSize(1006, 713));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(OnMainWindow, EachNavigationButtonShowsItsPageAloneAndStopsAcquisition)
{
    struct Case {
        int button;
        int page;
        std::vector<int> shown;
        int newQueries;
    };
    const Case cases[] = {
        {CZorvaneTestDlg::kColumnsButton, CZorvaneTestDlg::kColumnCharts, {kChartView, kSelectionPanel}, 0},
        {CZorvaneTestDlg::kPenTestButton, CZorvaneTestDlg::kPenTestPage, {kPenTest}, 0},
        {CZorvaneTestDlg::kAdvancedButton, CZorvaneTestDlg::kAdvancedPage, {kAdvanced}, 0},
        {CZorvaneTestDlg::kHomeButton, CZorvaneTestDlg::kHomePage, {kHome}, 1},
        {CZorvaneTestDlg::kHomeButton, CZorvaneTestDlg::kHomePage, {kHome}, 1},  // again: detects again
    };
    for (const Case& c : cases) {
        const int queriesBefore = IdentityQueries();
        calls.clear();
        window->button(c.button)->click();
        EXPECT_EQ(ShownSlots(), c.shown) << c.button;
        EXPECT_EQ(PinnedPage(), c.page) << c.button;
        EXPECT_EQ(calls, Strings{"stopAcquisition"}) << c.button;
        EXPECT_EQ(IdentityQueries() - queriesBefore, c.newQueries) << c.button;
    }
}

TEST_F(OnMainWindow, PageTwoIsNotAssigned)
{
    window->ShowPage(CZorvaneTestDlg::kPenTestPage);
    calls.clear();
    window->ShowPage(2);
    EXPECT_EQ(ShownSlots(), std::vector<int>{kPenTest});
    EXPECT_EQ(PinnedPage(), CZorvaneTestDlg::kPenTestPage);
    EXPECT_TRUE(calls.empty());
}

TEST_F(OnMainWindow, HotKeysRunTheirActions)
{
    struct Case {
        const char* name;
        int startPage;
        int id;
        int page;
        Strings calls;
    };
    const Case cases[] = {
        {"Alt+D", CZorvaneTestDlg::kHomePage, 1025, CZorvaneTestDlg::kColumnCharts, {"stopAcquisition", "startAcquisition"}},
        {"Alt+D on the charts", CZorvaneTestDlg::kColumnCharts, 1025, CZorvaneTestDlg::kColumnCharts, {"startAcquisition"}},
        {"Alt+S", CZorvaneTestDlg::kPenTestPage, 1026, CZorvaneTestDlg::kColumnCharts,
         {"stopAcquisition", "requestChartInitialise"}},
        {"Alt+A", CZorvaneTestDlg::kAdvancedPage, 1027, CZorvaneTestDlg::kColumnCharts, {"stopAcquisition", "runDrawingTest"}},
        {"Alt+F", CZorvaneTestDlg::kHomePage, 1028, CZorvaneTestDlg::kColumnCharts, {"stopAcquisition", "stopAcquisition"}},
        {"Alt+X", CZorvaneTestDlg::kHomePage, 1045, CZorvaneTestDlg::kAdvancedPage,
         {"stopAcquisition", "showAdvancedSubPage 0", "startFirmwareUpdate"}},
        {"Alt+X on the advanced page", CZorvaneTestDlg::kAdvancedPage, 1045, CZorvaneTestDlg::kAdvancedPage,
         {"startFirmwareUpdate"}},
        {"Alt+Z", CZorvaneTestDlg::kColumnCharts, 1046, CZorvaneTestDlg::kAdvancedPage,
         {"stopAcquisition", "showAdvancedSubPage 0", "browseFirmware"}},
        {"Alt+E", CZorvaneTestDlg::kHomePage, 1055, CZorvaneTestDlg::kPenTestPage, {"stopAcquisition"}},
        {"Alt+Q", CZorvaneTestDlg::kAdvancedPage, 1056, CZorvaneTestDlg::kHomePage, {"stopAcquisition"}},
        {"Alt+F4", CZorvaneTestDlg::kPenTestPage, 83, CZorvaneTestDlg::kPenTestPage, {}},
        {"unknown id", CZorvaneTestDlg::kPenTestPage, 1022, CZorvaneTestDlg::kPenTestPage, {}},
    };
    const DrawingTestEnder drawingTests;
    for (const Case& c : cases) {
        window->ShowPage(c.startPage);
        calls.clear();
        window->OnHotKey(c.id);
        EXPECT_EQ(PinnedPage(), c.page) << c.name;
        EXPECT_EQ(calls, c.calls) << c.name;
    }
}

TEST_F(OnMainWindow, AltKeysArriveAsHotKeys)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(PinnedPage(), CZorvaneTestDlg::kPenTestPage);
    QTest::keyClick(window.get(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(PinnedPage(), CZorvaneTestDlg::kColumnCharts);
    EXPECT_EQ(calls, (Strings{"stopAcquisition", "stopAcquisition", "startAcquisition"}));
}

TEST_F(OnMainWindow, EscapeAltF4AndMessage3011DoNothing)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(&window->homePage(), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_F4, Qt::AltModifier);
    QEvent message(CZorvaneTestDlg::kMessage3011);
    EXPECT_TRUE(QCoreApplication::sendEvent(window.get(), &message));
    QCoreApplication::processEvents();

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(PinnedPage(), CZorvaneTestDlg::kHomePage);
    EXPECT_TRUE(calls.empty());
}

TEST_F(OnMainWindow, F1AndTheAboutButtonRunTheAboutBox)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const std::function<void()> ways[] = {
        [this] { QTest::keyClick(window.get(), Qt::Key_F1); },
        [this] { window->button(CZorvaneTestDlg::kAboutButton)->click(); },
    };
    for (const auto& open : ways) {
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto* about = dynamic_cast<CAboutDlg*>(QApplication::activeModalWidget());
            if (!about)
                return;
            shown = about->findChild<QLabel*>(QStringLiteral("id2057"))->text();
            about->accept();
        });
        open();
        EXPECT_EQ(shown, QStringLiteral("Pindaro_SL(1.10.0603)"));
        EXPECT_TRUE(window->isVisible());
    }
}

TEST_F(OnMainWindow, EveryWayOfClosingStopsTheChartWorkerFirst)
{
    const std::function<void(CZorvaneTestDlg&)> closes[] = {
        [](CZorvaneTestDlg& w) { w.button(CZorvaneTestDlg::kCloseButton)->click(); },
        [](CZorvaneTestDlg& w) { w.reject(); },  // the cancel command
        [](CZorvaneTestDlg& w) { w.close(); },   // the system's close request
    };
    for (const auto& close : closes) {
        auto closing = NewWindow();
        closing->show();
        bool visibleWhileStopping = false;
        closing->hooks().stopChartWorker = [&] {
            calls.push_back("stopChartWorker");
            visibleWhileStopping = closing->isVisible();
        };
        close(*closing);
        EXPECT_EQ(calls, Strings{"stopChartWorker"});
        EXPECT_TRUE(visibleWhileStopping);
        EXPECT_FALSE(closing->isVisible());
        calls.clear();
    }
}

// The page's callback is registered at start-up and hears the frame whichever page is shown.
TEST_F(OnMainWindow, ThePenTrayPageHearsReportsWhileAnotherPageIsShown)
{
    auto& penTest = dynamic_cast<CPenTestDlg&>(window->page(Slot::PenTest));
    ASSERT_TRUE(backend->SendPenTray({0, 1, 0, 1, 0, 1}));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        penTest.OnTimer();
        return penTest.slotBitmaps()[0] == CPenTestDlg::kDarkPencil;
    }, 30000));
    window->OnHotKey(CZorvaneTestDlg::kHotKeyPenTest);
    EXPECT_EQ(ShownSlots(), std::vector<int>{kPenTest});
    constexpr int L = CPenTestDlg::kLightPencil;
    constexpr int D = CPenTestDlg::kDarkPencil;
    EXPECT_EQ(penTest.slotBitmaps(), (std::array<int, 6>{D, L, D, L, D, L}));
}

TEST_F(OnMainWindow, TheLightFollowsTheConnectionCallback)
{
    const QPoint lightCentre(985, 110);
    const auto light = [&] { return window->grab().toImage().pixel(lightCentre); };
    const QRgb connected = Artwork::Bitmap(542).pixel(10, 10);
    const QRgb notConnected = Artwork::Bitmap(543).pixel(10, 10);
    ASSERT_NE(connected, notConnected);

    EXPECT_EQ(light(), connected);
    backend->Unplug();
    window->homePage().Redetect();
    EXPECT_EQ(window->deviceConnected(), 0);
    EXPECT_EQ(light(), notConnected);
    backend->Replug();
    window->homePage().Redetect();
    EXPECT_EQ(window->deviceConnected(), 1);
    EXPECT_EQ(light(), connected);
}

// The hot keys reach the real panel and chart view: the frame goes into scan mode and out again, and
// closing while acquiring leaves it out of scan mode (in scan mode a frame reports no touches).
TEST_F(OnMainWindow, TheChartHotKeysDriveThePanelAndTheFrame)
{
    const auto& panel = dynamic_cast<ColumnSelectDlg&>(window->page(Slot::SelectionPanel));
    const auto frame = [this] { return backend->frame().state().settings; };
    constexpr int kGenerousMs = 10000;

    window->OnHotKey(CZorvaneTestDlg::kHotKeyStartAcquisition);
    EXPECT_TRUE(panel.running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame().scanMode; }, kGenerousMs));
    window->OnHotKey(CZorvaneTestDlg::kHotKeyInitialiseChart);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame().initialiseCount == 1; }, kGenerousMs));
    window->OnHotKey(CZorvaneTestDlg::kHotKeyStopAcquisition);
    EXPECT_FALSE(panel.running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame().scanMode; }, kGenerousMs));

    window->OnHotKey(CZorvaneTestDlg::kHotKeyStartAcquisition);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame().scanMode; }, kGenerousMs));
    window->ShowPage(CZorvaneTestDlg::kPenTestPage);
    EXPECT_FALSE(panel.running()) << "a page switch stops acquisition";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame().scanMode; }, kGenerousMs));

    window->OnHotKey(CZorvaneTestDlg::kHotKeyStartAcquisition);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame().scanMode; }, kGenerousMs));
    window->CloseSequence();
    EXPECT_FALSE(frame().scanMode) << "closed only once the chart worker has switched scan mode off";
    EXPECT_EQ(frame().led, 1);
}

// The draw button and Alt+A stop acquisition and open the drawing test over the main window's screen
// with the panel's settings; Esc brings the technician back to the charts, not acquiring.
TEST_F(OnMainWindow, TheDrawButtonAndAltAOpenTheDrawingTest)
{
    auto& panel = dynamic_cast<ColumnSelectDlg&>(window->page(Slot::SelectionPanel));
    window->show();
    const std::function<void()> ways[] = {
        [&] { window->ShowPage(CZorvaneTestDlg::kColumnCharts); panel.findChild<QAbstractButton*>("id1012")->click(); },
        [&] { window->ShowPage(CZorvaneTestDlg::kHomePage); window->OnHotKey(CZorvaneTestDlg::kHotKeyDrawingTest); },
    };
    DrawingTestEnder drawingTests;
    for (const auto& open : ways) {
        window->OnHotKey(CZorvaneTestDlg::kHotKeyStartAcquisition);
        ASSERT_TRUE(panel.running());
        open();
        EXPECT_FALSE(panel.running());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(PinnedPage(), CZorvaneTestDlg::kColumnCharts);
    }
    ASSERT_EQ(drawingTests.opened.size(), 2u);
    for (const DrawingTestEnder::Opened& opened : drawingTests.opened) {
        EXPECT_EQ(opened.geometry, window->screen()->geometry());
        EXPECT_EQ(opened.settings, (DrawSettings{.lineWidth = 3, .gridOn = 0, .gridSpacing = 20, .penColour = QColor(240, 64, 30)}));
    }
}

// The firmware hot keys bring the firmware sub-page forward only with the advanced page; an advanced
// page in front keeps the sub-page the technician chose.
// Global hot keys still reach the main window under the drawing test: Alt+A there opens no second one.
TEST_F(OnMainWindow, AltAWhileTheDrawingTestRunsOpensNoSecondOne)
{
    window->show();
    std::vector<QWidget*> seen;
    QTimer ender;
    ender.callOnTimeout([&] {
        auto* drawing = dynamic_cast<CDrawDlg*>(QApplication::activeModalWidget());
        if (!drawing)
            return;
        seen.push_back(drawing);
        if (seen.size() == 1)
            window->OnHotKey(CZorvaneTestDlg::kHotKeyDrawingTest);
        else
            QTest::keyClick(drawing, Qt::Key_Escape);
    });
    ender.start(0);
    window->OnHotKey(CZorvaneTestDlg::kHotKeyDrawingTest);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], seen[1]) << "the hot key under the drawing test opened another";
}

TEST_F(OnMainWindow, FirmwareHotKeysKeepTheSubPageOfAShownAdvancedPage)
{
    auto& advanced = dynamic_cast<CAdvancecdDlg&>(window->page(Slot::Advanced));
    window->ShowPage(CZorvaneTestDlg::kAdvancedPage);
    advanced.ShowSubPage(CAdvancecdDlg::kCalibrationPage);
    window->OnHotKey(CZorvaneTestDlg::kHotKeyStartFirmware);
    EXPECT_TRUE(advanced.subPage(CAdvancecdDlg::kFirmwarePage).isHidden());
    EXPECT_FALSE(advanced.subPage(CAdvancecdDlg::kCalibrationPage).isHidden());

    window->ShowPage(CZorvaneTestDlg::kHomePage);
    window->OnHotKey(CZorvaneTestDlg::kHotKeyBrowseFirmware);
    EXPECT_EQ(PinnedPage(), CZorvaneTestDlg::kAdvancedPage);
    EXPECT_FALSE(advanced.subPage(CAdvancecdDlg::kFirmwarePage).isHidden());
    EXPECT_TRUE(advanced.subPage(CAdvancecdDlg::kCalibrationPage).isHidden());
}

// Alt+Z chooses the image and Alt+X starts it; with AutoJump on, the window goes home once the bar is full.
TEST_F(OnMainWindow, FirmwareUpdateByHotKeysJumpsHomeWhenDone)
{
    backend->SetReenumerationDelay(std::chrono::milliseconds(50));
    backend->SetReplyLatency(std::chrono::milliseconds::zero());  // some two thousand packets
    const ImageFile file(ImageForFrame(backend->frame().state(), 0x0320));
    CUpdateFirmDlg& firmware = dynamic_cast<CAdvancecdDlg&>(window->page(Slot::Advanced)).firmwarePage();
    firmware.SetOpenDialog([&](QWidget*) { return QString::fromStdString(file.path().string()); });
    firmware.ToggleAutoJump();
    window->OnHotKey(CZorvaneTestDlg::kHotKeyBrowseFirmware);
    window->OnHotKey(CZorvaneTestDlg::kHotKeyStartFirmware);
    EXPECT_EQ(PinnedPage(), CZorvaneTestDlg::kAdvancedPage);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PinnedPage() == CZorvaneTestDlg::kHomePage; }, 60000));
    EXPECT_EQ(firmware.shownProgress(), 100.0f);
    EXPECT_TRUE(window->homePage().connected());
    EXPECT_EQ(window->homePage().deviceInfo().firmwareVersionText, "0320");
}

// Late udev notices mid-transfer (the normal interface's removal, the bootloader's arrival) make the
// home page re-detect and close what it opened; neither may reach the bootloader's open interface.
TEST_F(OnMainWindow, DeviceNoticesDuringAFirmwareTransferDoNotDisturbIt)
{
    GetDeviceChannel().CloseDeviceHandle();
    window->homePage().Redetect();  // on a fresh handle, so the home page knows the interface it opened
    ASSERT_EQ(window->homePage().deviceInfo().interfacePath, SimulatedHidBackend::kCommandPath);
    backend->SetReenumerationDelay(std::chrono::milliseconds(50));
    backend->SetReplyLatency(std::chrono::milliseconds(1));  // so that the notices come mid-transfer
    const ImageFile file(ImageForFrame(backend->frame().state(), 0x0320));
    CUpdateFirmDlg& firmware = dynamic_cast<CAdvancecdDlg&>(window->page(Slot::Advanced)).firmwarePage();
    firmware.SetOpenDialog([&](QWidget*) { return QString::fromStdString(file.path().string()); });
    firmware.ToggleAutoJump();
    window->OnHotKey(CZorvaneTestDlg::kHotKeyBrowseFirmware);
    window->OnHotKey(CZorvaneTestDlg::kHotKeyStartFirmware);
    ASSERT_TRUE(QTest::qWaitFor([] { return GetFirmwareUpdater().progress.load() > 10.0f; }, 60000));

    window->OnDeviceChange({DeviceNotice::Kind::Removal, SimulatedHidBackend::kCommandPath});
    window->OnDeviceChange({DeviceNotice::Kind::Arrival, SimulatedHidBackend::kBootloaderPath});

    ASSERT_TRUE(QTest::qWaitFor([&] { return PinnedPage() == CZorvaneTestDlg::kHomePage; }, 60000));
    EXPECT_EQ(firmware.shownProgress(), 100.0f);
    EXPECT_TRUE(window->homePage().connected());
    EXPECT_EQ(window->homePage().deviceInfo().firmwareVersionText, "0320");
}

}  // namespace
}  // namespace zorvane::testing
