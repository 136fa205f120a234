#include "LinkFixtures.h"
#include "signal/AcquisitionFailureHook.h"
#include "signal/AcquisitionStep.h"
#include "signal/CadenceCounter.h"
#include "signal/ChartInfo.h"
#include "signal/ChartWorker.h"
#include "signal/CursorMode.h"
#include "signal/ScanChart.h"
#include "signal/ScanSelection.h"
#include "signal/ScanSelector.h"
#include "signal/StartAcquisition.h"
#include "sim/ScanSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

namespace zorvane {
namespace {

constexpr ScanSelection kValueOnly{.value = true};

std::vector<Report> Requests(std::initializer_list<Command> commands)
{
    std::vector<Report> requests;
    for (const Command& command : commands)
        requests.push_back(command.request);
    return requests;
}

// A chart on the simulated 192 x 108 frame, driven cycle by cycle from the test.
class ChartOnSimulatedFrame : public testing::SimulatedLink {
protected:
    void Start(const ScanSelection& selection)
    {
        SetScanSelection(selection);
        ASSERT_EQ(StartAcquisition(chart), link_status::kOk);
    }

    // The requests the frame receives from here on.
    void MarkRequests() { marked_ = backend->ReceivedRequests().size(); }
    std::vector<Report> RequestsSinceMark() const
    {
        const std::vector<Report> all = backend->ReceivedRequests();
        return {all.begin() + static_cast<std::ptrdiff_t>(marked_), all.end()};
    }

    // The series one more cycle leaves, starting from none.
    ScanData FreshCycle()
    {
        chart.Publish({});
        AcquisitionStep(chart);
        return chart.data();
    }

    // What the frame holds for one series; Standard and Power readings do not vary.
    ScanSeries FrameSeries(SeriesKind kind, ScanDirection direction, ScanAxis axis) const
    {
        FrameState state = State();
        const auto readings = ReadReceivers(state, ScanSelector(kind, direction, axis), 0, 1000);
        return {readings->begin(), readings->end()};
    }

    // Whether a request reads a chunk of `kind` on the X side, in the current direction.
    static auto IsChunkOf(SeriesKind kind)
    {
        const Report chunk = commands::ReadSignalChunk(0, 0, 0).request;
        const std::uint8_t selector = ScanSelector(kind, CurrentScanSelection().direction, ScanAxis::X);
        return [chunk, selector](const Report& request) {
            return request[1] == chunk[1] && request[2] == chunk[2] && request[5] == selector;
        };
    }

    // Acquires every kind for `cycles` cycles; in the last one, the frame stops answering once the
    // first read of `failing` has reached it, which must end that cycle as a failure. Returns what
    // the frame received in the last cycle.
    std::vector<Report> CyclesFailingOn(SeriesKind failing, int cycles)
    {
        std::atomic<int> hookCalls{0};
        SetAcquisitionFailureHook([&](ScanChart&) { ++hookCalls; });
        Start({.value = true, .power = true, .standard = true});
        for (int cycle = 1; cycle < cycles; ++cycle)
            AcquisitionStep(chart);
        EXPECT_EQ(hookCalls, 0);
        cursorMode() = true;
        backend->WatchRequests([this, isFailing = IsChunkOf(failing)](const Report& request) {
            if (isFailing(request))
                backend->FailAll(Fault::RefusedWrite());
        });
        MarkRequests();
        AcquisitionStep(chart);
        EXPECT_EQ(hookCalls, 1);
        EXPECT_EQ(chart.data(), ScanData{});
        EXPECT_FALSE(cursorMode());
        backend->WatchRequests(nullptr);
        SetAcquisitionFailureHook(nullptr);
        return RequestsSinceMark();
    }

    ScanChart chart;

private:
    std::size_t marked_ = 0;
};

TEST_F(ChartOnSimulatedFrame, RequestsGoOutOnceInTheNextCycle)
{
    chart.requests().RequestInitialise();
    chart.requests().RequestLed(false);
    MarkRequests();
    AcquisitionStep(chart);
    EXPECT_EQ(RequestsSinceMark(), Requests({commands::Initialise(), commands::SetLed(0)}));
    EXPECT_EQ(State().settings.initialiseCount, 1);
    EXPECT_EQ(State().settings.led, 0);

    MarkRequests();
    AcquisitionStep(chart);
    EXPECT_EQ(RequestsSinceMark(), std::vector<Report>{});
}

TEST_F(ChartOnSimulatedFrame, StartSendsScanModeOnBeforeTheFirstReadAndStopSwitchesItOff)
{
    Start(kValueOnly);
    MarkRequests();
    const ScanData data = FreshCycle();
    const std::vector<Report> sent = RequestsSinceMark();
    ASSERT_EQ(sent.size(), 1u + 4 + 2);  // 192 and 108 values in chunks of 55
    EXPECT_EQ(sent.front(), commands::SetTouchMode(touch_mode::kScanOn).request);
    EXPECT_EQ(data.xValue.size(), 192u);
    EXPECT_EQ(data.yValue.size(), 108u);
    EXPECT_TRUE(State().settings.scanMode);

    chart.requests().Stop();
    MarkRequests();
    AcquisitionStep(chart);
    EXPECT_EQ(RequestsSinceMark(), Requests({commands::SetTouchMode(touch_mode::kScanOff), commands::SetLed(1)}));
    EXPECT_FALSE(State().settings.scanMode);
    EXPECT_EQ(chart.data(), data);  // a stop leaves the last series on screen
}

// The technician stops while a start's scan mode on is on its way, and starts again while the stop's
// scan mode off is: the cycle that sent them must not read from a frame now out of scan mode, and
// the next one switches it on first.
TEST_F(ChartOnSimulatedFrame, AStopAndAStartWithinOneCycleReadOnlyAfterScanModeOn)
{
    Start(kValueOnly);
    const Report scanOn = commands::SetTouchMode(touch_mode::kScanOn).request;
    const Report scanOff = commands::SetTouchMode(touch_mode::kScanOff).request;
    backend->WatchRequests([&](const Report& request) {
        if (request == scanOn)
            chart.requests().Stop();
        else if (request == scanOff)
            chart.requests().Start();
    });
    MarkRequests();
    AcquisitionStep(chart);
    EXPECT_EQ(RequestsSinceMark(), Requests({commands::SetTouchMode(touch_mode::kScanOn),
                                             commands::SetTouchMode(touch_mode::kScanOff), commands::SetLed(1)}));

    backend->WatchRequests(nullptr);
    MarkRequests();
    const ScanData data = FreshCycle();
    const std::vector<Report> sent = RequestsSinceMark();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), scanOn);
    EXPECT_EQ(data.xValue.size(), 192u);
    EXPECT_TRUE(State().settings.scanMode);
}

TEST_F(ChartOnSimulatedFrame, StandardEverySixthAndPowerEverySixteenthAcquiringCycle)
{
    Start({.value = true, .power = true, .standard = true});
    std::vector<int> standardCycles, powerCycles;
    for (int cycle = 1; cycle <= 32; ++cycle) {
        const ScanData data = FreshCycle();
        if (!data.xStandard.empty())
            standardCycles.push_back(cycle);
        if (!data.xPower.empty())
            powerCycles.push_back(cycle);
        EXPECT_EQ(data.xValue.size(), 192u);
    }
    EXPECT_EQ(standardCycles, (std::vector<int>{6, 12, 18, 24, 30}));
    EXPECT_EQ(powerCycles, (std::vector<int>{16, 32}));
}

TEST_F(ChartOnSimulatedFrame, NeitherASwitchOffNorARestartResetsTheCadence)
{
    Start({.value = true, .standard = true});
    std::vector<int> standardCycles;
    for (int cycle = 1; cycle <= 12; ++cycle) {
        if (cycle == 3) {
            // Off for cycles 3 and 4, then a stop and a fresh start before cycle 5.
            SetScanSelection(kValueOnly);
        } else if (cycle == 5) {
            chart.requests().Stop();
            AcquisitionStep(chart);
            Start({.value = true, .standard = true});
        }
        if (!FreshCycle().xStandard.empty())
            standardCycles.push_back(cycle);
    }
    // Ticks in cycles 1, 2, then 5 .. 8: the sixth is cycle 8.
    EXPECT_EQ(standardCycles, (std::vector<int>{8}));
}

TEST_F(ChartOnSimulatedFrame, WithEverySwitchOffAnAcquiringCycleReadsNothing)
{
    Start({});
    AcquisitionStep(chart);  // scan mode on
    MarkRequests();
    for (int cycle = 0; cycle < 2; ++cycle)
        AcquisitionStep(chart);
    EXPECT_EQ(RequestsSinceMark(), std::vector<Report>{});
    EXPECT_EQ(chart.data(), ScanData{});
    EXPECT_TRUE(chart.requests().acquiring());
}

TEST_F(ChartOnSimulatedFrame, FluctuationAppearsInTheEighthCycleAndChangesEveryEighth)
{
    Start({.value = true, .fluctuation = true});
    std::vector<ScanSeries> fluctuation;
    for (int cycle = 1; cycle <= 16; ++cycle) {
        AcquisitionStep(chart);
        fluctuation.push_back(chart.data().xFluctuation);
    }
    for (int cycle = 1; cycle <= 7; ++cycle)
        EXPECT_TRUE(fluctuation[cycle - 1].empty()) << cycle;
    ASSERT_EQ(fluctuation[7].size(), 192u);
    for (int cycle = 9; cycle <= 15; ++cycle)
        EXPECT_EQ(fluctuation[cycle - 1], fluctuation[7]) << cycle;
    EXPECT_EQ(chart.data().yFluctuation.size(), 108u);
    // Readings stray at most the noise amplitude either way from their level.
    const int amplitude = State().signal.noiseAmplitude;
    for (const ScanSeries& spread : {fluctuation[7], fluctuation[15]})
        EXPECT_TRUE(std::all_of(spread.begin(), spread.end(), [&](int v) { return v >= 0 && v <= 2 * amplitude; }));
    EXPECT_NE(fluctuation[15], fluctuation[7]);
}

TEST_F(ChartOnSimulatedFrame, FluctuationCountsOnlyWhileSwitchedOnAndFallsToZeroWithValueOff)
{
    const ScanSelection both{.value = true, .fluctuation = true};
    Start(both);
    for (int cycle = 0; cycle < 3; ++cycle)
        AcquisitionStep(chart);
    SetScanSelection(kValueOnly);
    for (int cycle = 0; cycle < 10; ++cycle)
        AcquisitionStep(chart);
    SetScanSelection(both);
    for (int cycle = 0; cycle < 4; ++cycle)
        AcquisitionStep(chart);
    EXPECT_TRUE(chart.data().xFluctuation.empty()) << "seven readings counted so far";
    AcquisitionStep(chart);
    ASSERT_EQ(chart.data().xFluctuation.size(), 192u);

    // The Value series stop changing, so once the window holds nothing else the spread is 0.
    SetScanSelection({.fluctuation = true});
    for (int cycle = 0; cycle < 16; ++cycle)
        AcquisitionStep(chart);
    const ScanData data = chart.data();
    EXPECT_EQ(data.xFluctuation, ScanSeries(192, 0));
    EXPECT_EQ(data.yFluctuation, ScanSeries(108, 0));
}

TEST_F(ChartOnSimulatedFrame, AFailedReadClearsTheSeriesAndTheHookStopsTheChart)
{
    std::atomic<ScanChart*> hookedChart{nullptr};
    std::atomic<int> hookCalls{0};
    SetAcquisitionFailureHook([&](ScanChart& failed) {
        hookedChart = &failed;
        ++hookCalls;
        failed.requests().Stop();
    });
    Start({.value = true, .fluctuation = true, .power = true, .standard = true});
    AcquisitionStep(chart);
    ASSERT_FALSE(chart.data().xValue.empty());
    cursorMode() = true;

    backend->FailAll(Fault::RefusedWrite());
    AcquisitionStep(chart);

    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(hookedChart, &chart);
    EXPECT_EQ(chart.data(), ScanData{});
    EXPECT_FALSE(cursorMode());
    EXPECT_FALSE(chart.requests().acquiring());

    // The stop goes out in the next cycle, which reads nothing; a new start works normally.
    backend->ClearFaults();
    MarkRequests();
    AcquisitionStep(chart);
    EXPECT_EQ(RequestsSinceMark(), Requests({commands::SetTouchMode(touch_mode::kScanOff), commands::SetLed(1)}));
    Start(kValueOnly);
    AcquisitionStep(chart);
    EXPECT_EQ(chart.data().xValue.size(), 192u);
    EXPECT_EQ(hookCalls, 1);
}

// Power is read before Standard, and a failed read of either ends the cycle as a failed Value read
// does: the series cleared, the hook run, the cursor mode off, nothing more read.
TEST_F(ChartOnSimulatedFrame, AFailedPowerReadEndsTheCycleBeforeStandard)
{
    StandardCadence().Tick();  // Standard now falls due in cycles 4, 10 and 16, with Power's first
    StandardCadence().Tick();
    const std::vector<Report> lastCycle = CyclesFailingOn(SeriesKind::Power, 16);
    EXPECT_EQ(std::count_if(lastCycle.begin(), lastCycle.end(), IsChunkOf(SeriesKind::Standard)), 0);
}

TEST_F(ChartOnSimulatedFrame, AFailedStandardReadEndsTheCycleAsWell)
{
    const std::vector<Report> lastCycle = CyclesFailingOn(SeriesKind::Standard, 6);
    EXPECT_GT(std::count_if(lastCycle.begin(), lastCycle.end(), IsChunkOf(SeriesKind::Value)), 0);
}

// A chart the hook does not stop (the zoom view, say) retries; the frame may have restarted meanwhile and
// left scan mode, so the retry switches it on again before reading.
TEST_F(ChartOnSimulatedFrame, WithoutAHookAFailingChartKeepsRetryingInScanMode)
{
    const struct {
        const char* fault;
        std::function<void(SimulatedHidBackend&)> fail, recover;
    } cases[] = {
        {"refused writes", [](SimulatedHidBackend& b) { b.FailAll(Fault::RefusedWrite()); },
         [](SimulatedHidBackend& b) { b.ClearFaults(); }},
        {"unplugged and plugged in again", [](SimulatedHidBackend& b) { b.Unplug(); },
         [](SimulatedHidBackend& b) { b.Replug(); }},
    };
    for (const auto& c : cases) {
        Start(kValueOnly);
        AcquisitionStep(chart);  // scan mode on reaches the frame: without it no read would bring values
        c.fail(*backend);
        AcquisitionStep(chart);
        EXPECT_EQ(chart.data(), ScanData{}) << c.fault;
        EXPECT_TRUE(chart.requests().acquiring()) << c.fault;

        c.recover(*backend);
        AcquisitionStep(chart);  // scan mode on again
        AcquisitionStep(chart);
        EXPECT_EQ(chart.data().yValue.size(), 108u) << c.fault;
    }
}

TEST_F(ChartOnSimulatedFrame, EveryKindAndDirectionThroughTheSimulatedFrame)
{
    Start({.value = true, .fluctuation = true, .power = true, .standard = true});
    const FrameState::Signal signal = State().signal;
    for (const ScanDirection direction : {ScanDirection::Forward, ScanDirection::Middle, ScanDirection::Behind}) {
        SCOPED_TRACE(static_cast<int>(direction));
        SetScanSelection({direction, true, true, true, true});
        // Power, the slowest, comes once in every sixteen cycles.
        for (int cycle = 0; cycle < 16; ++cycle)
            AcquisitionStep(chart);
        const ScanData data = chart.data();

        // Oblique scans mark the receivers without a partner with 2; that ties each Value series to
        // its axis and direction.
        const bool oblique = direction != ScanDirection::Middle;
        ASSERT_EQ(data.xValue.size(), 192u);
        ASSERT_EQ(data.yValue.size(), 108u);
        EXPECT_EQ(std::count(data.xValue.begin(), data.xValue.end(), 2), oblique ? signal.xObliqueOffset : 0);
        EXPECT_EQ(std::count(data.yValue.begin(), data.yValue.end(), 2), oblique ? signal.yObliqueOffset : 0);
        EXPECT_EQ(data.xStandard, FrameSeries(SeriesKind::Standard, direction, ScanAxis::X));
        EXPECT_EQ(data.yStandard, FrameSeries(SeriesKind::Standard, direction, ScanAxis::Y));
        EXPECT_EQ(data.xPower, FrameSeries(SeriesKind::Power, direction, ScanAxis::X));
        EXPECT_EQ(data.yPower, FrameSeries(SeriesKind::Power, direction, ScanAxis::Y));
        EXPECT_EQ(data.xFluctuation.size(), 192u);
        EXPECT_EQ(data.yFluctuation.size(), 108u);
    }
    EXPECT_TRUE(State().settings.scanMode);
}

// The worker and the interface thread together: the interface side steers and reads while the
// worker draws and acquires, and stopping the worker returns once it has ended.
TEST_F(ChartOnSimulatedFrame, WorkerDrawsAndAcquiresUntilStopped)
{
    chart.Layout(854, 584);
    std::atomic<int> draws{0};
    std::atomic<std::size_t> drawnColumns{0};
    ChartWorker worker(chart, [&](ScanChart& drawn) {
        drawnColumns = drawn.Frame().data.xValue.size();
        ++draws;
    });

    Start(kValueOnly);
    chart.ToggleCursorMode();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((drawnColumns != 192u || draws < 5) && std::chrono::steady_clock::now() < deadline) {
        chart.TrackCursor(100, 100);
        SetScanSelection({ScanDirection::Forward, true, true, false, false});
        EXPECT_EQ(chart.Frame().geometry.columnWidth, 4);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(drawnColumns, 192u);
    EXPECT_EQ(chart.cursor(), (CursorColumn{ScanAxis::X, 25}));

    worker.Stop();
    const int drawsAtStop = draws;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(draws, drawsAtStop);
    worker.Stop();  // a second stop is harmless
}

TEST_F(ChartOnSimulatedFrame, AStopRightBeforeTheWorkerEndsStillGoesOut)
{
    ChartWorker worker(chart, [](ScanChart&) {});
    Start(kValueOnly);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (chart.data().xValue.empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(State().settings.scanMode);

    chart.requests().Stop();
    worker.Stop();

    EXPECT_FALSE(State().settings.scanMode);
    EXPECT_EQ(State().settings.led, 1);
}

// The interface side can wait for its requests to reach the frame: the zoom view's scan mode on must not
// overtake the normal view's scan mode off. A stop raised while a read is on the wire, and a request
// to an idle worker resting its pause, both arrive before the wait ends.
TEST_F(ChartOnSimulatedFrame, AwaitingTheRequestsReturnsOnceTheFrameHasThem)
{
    backend->SetReplyLatency(std::chrono::milliseconds(2));
    std::atomic<bool> stopRaised{false};
    backend->WatchRequests([&, isChunk = IsChunkOf(SeriesKind::Value)](const Report& request) {
        if (isChunk(request) && !stopRaised.exchange(true))
            chart.requests().Stop();
    });
    ChartWorker worker(chart, [](ScanChart&) {});
    Start(kValueOnly);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!stopRaised && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    chart.requests().AwaitSent();
    EXPECT_FALSE(State().settings.scanMode);
    EXPECT_EQ(State().settings.led, 1);

    chart.requests().RequestInitialise();
    chart.requests().AwaitSent();
    EXPECT_EQ(State().settings.initialiseCount, 1);
    backend->WatchRequests(nullptr);
}

}  // namespace
}  // namespace zorvane
