// The column chart views on the simulated frame: their worker draws, the mouse steers the cursor, the
// zoom view takes acquisition over and gives it back.
#include "LinkFixtures.h"
#include "TestApplication.h"
#include "pages/CColumnNormalDlg.h"
#include "pages/CColumnZoomDlg.h"
#include "protocol/CommandTable.h"
#include "signal/CursorMode.h"
#include "signal/ScanSelection.h"
#include "signal/StartAcquisition.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

namespace zorvane::testing {
namespace {

constexpr int kGenerousMs = 10000;  // only a broken view waits this long
const QRgb kInk = qRgb(33, 33, 33);

bool SameCommand(const Report& request, const Command& command)
{
    return request[1] == command.request[1] && request[2] == command.request[2];
}

class ChartView : public SimulatedLink {
protected:
    void SetUp() override
    {
        SimulatedLink::SetUp();
        TestApplication();
        // Every signal read that reaches the frame out of scan mode, which a real frame cannot serve.
        backend->WatchRequests([this](const Report& request) {
            if (SameCommand(request, commands::ReadSignalChunk(0, 0, 0)) && !State().settings.scanMode)
                ++readsOutOfScanMode;
        });
        view = std::make_unique<CColumnNormalDlg>();
        view->OnInitDialog();
    }
    void TearDown() override
    {
        view.reset();
        backend->WatchRequests(nullptr);
    }

    int Requests(const Command& command) const
    {
        int count = 0;
        for (const Report& request : backend->ReceivedRequests())
            count += SameCommand(request, command) && request[3] == command.request[3];
        return count;
    }

    void StartAcquiring()
    {
        SetScanSelection({.value = true, .power = true});
        ASSERT_EQ(StartAcquisition(view->chart()), link_status::kOk);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view->chart().data().xValue.empty(); }, kGenerousMs));
    }

    std::atomic<int> readsOutOfScanMode{0};
    std::unique_ptr<CColumnNormalDlg> view;  // made once the application is there
};

TEST_F(ChartView, TheIdleWorkerDrawsTheEmptyChartAndThePaintShowsIt)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->ShownFrame().isNull(); }, kGenerousMs));
    const QImage frame = view->ShownFrame();
    EXPECT_EQ(frame.size(), QSize(854, 584));
    EXPECT_EQ(frame.pixel(400, 262), kInk) << "X base line";
    EXPECT_EQ(frame.pixel(400, 554), kInk) << "Y base line";
    EXPECT_EQ(view->grab().toImage().pixel(400, 262), kInk) << "the view shows the worker's frame";
}

TEST_F(ChartView, TheCursorShowsNoColumnUntilTheMouseMovesOverOne)
{
    StartAcquiring();
    QTest::mouseDClick(view.get(), Qt::RightButton, {}, QPoint(300, 30));
    ASSERT_TRUE(cursorMode());
    EXPECT_EQ(view->chart().cursor().index, 0);
    QTest::mouseMove(view.get(), QPoint(4 * 10 + 3, 200));
    EXPECT_EQ(view->chart().cursor(), (CursorColumn{ScanAxis::X, 11}));
    QTest::mouseMove(view.get(), QPoint(4 * 10 + 3, 450));
    EXPECT_EQ(view->chart().cursor(), (CursorColumn{ScanAxis::Y, 11}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->ShownFrame().pixel(4 * 10 + 3, 553) == kInk; }, kGenerousMs))
        << "the cursor column is drawn dark";

    QTest::mouseDClick(view.get(), Qt::RightButton, {}, QPoint(4 * 10 + 3, 450));
    EXPECT_FALSE(cursorMode());
}

TEST_F(ChartView, ALeftDoubleClickOnTheParametersReadsTheIdentificationAndElsewhereWhileIdleDoesNothing)
{
    const int identities = Requests(commands::GetDeviceIdentity());
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, QPoint(800, 25));
    EXPECT_EQ(Requests(commands::GetDeviceIdentity()), identities + 1);

    bool zoomOpened = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            zoomOpened = true;
            modal->close();
        }
    });
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, QPoint(300, 200));
    QCoreApplication::processEvents();
    EXPECT_FALSE(zoomOpened);
    EXPECT_EQ(Requests(commands::GetDeviceIdentity()), identities + 1);
}

// The zoom view covers the screen and acquires into its own series; it closes only by Esc or a double
// click, after which the normal view acquires again. Neither view ever reads out of scan mode.
TEST_F(ChartView, TheZoomViewTakesAcquisitionOverAndGivesItBack)
{
    const struct {
        const char* how;
        std::function<void(CColumnZoomDlg&)> close;
    } closes[] = {
        {"Esc", [](CColumnZoomDlg& zoom) { QTest::keyClick(&zoom, Qt::Key_Escape); }},
        {"double-click", [](CColumnZoomDlg& zoom) { QTest::mouseDClick(&zoom, Qt::LeftButton, {}, QPoint(10, 10)); }},
    };
    for (const auto& c : closes) {
        StartAcquiring();
        bool zoomAcquired = false;
        bool enterIgnored = false;
        QSize zoomSize;
        QTimer::singleShot(0, [&] {
            auto* zoom = dynamic_cast<CColumnZoomDlg*>(QApplication::activeModalWidget());
            if (!zoom)
                return;
            zoomSize = zoom->ShownFrame().isNull() ? zoom->size() : zoom->ShownFrame().size();
            zoomAcquired = QTest::qWaitFor([&] { return !zoom->chart().data().xValue.empty(); }, kGenerousMs);
            QTest::keyClick(zoom, Qt::Key_Return);
            enterIgnored = zoom->isVisible();
            c.close(*zoom);
        });
        QTest::mouseDClick(view.get(), Qt::LeftButton, {}, QPoint(300, 200));

        EXPECT_TRUE(zoomAcquired) << c.how;
        EXPECT_TRUE(enterIgnored) << c.how;
        EXPECT_EQ(zoomSize, view->screen()->size()) << c.how;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.how;
        EXPECT_TRUE(view->chart().requests().acquiring()) << c.how;
        view->chart().Publish({});
        EXPECT_TRUE(QTest::qWaitFor([&] { return !view->chart().data().xValue.empty(); }, kGenerousMs)) << c.how;
    }
    EXPECT_EQ(readsOutOfScanMode, 0);
}

TEST_F(ChartView, EndingTheWorkerWhileAcquiringLeavesTheFrameOutOfScanMode)
{
    StartAcquiring();
    ASSERT_TRUE(State().settings.scanMode);
    view->EndWorker();
    EXPECT_FALSE(State().settings.scanMode);
    EXPECT_EQ(State().settings.led, 1);
    EXPECT_EQ(readsOutOfScanMode, 0);
}

TEST_F(ChartView, AFrameThatGoesAwayWhileAcquiringEmptiesTheChart)
{
    StartAcquiring();
    backend->Unplug();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->chart().data() == ScanData{}; }, kGenerousMs));
    view->EndWorker();  // the worker ends although the frame is gone
}

}  // namespace
}  // namespace zorvane::testing
