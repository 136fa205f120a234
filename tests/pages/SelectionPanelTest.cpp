#include "LinkFixtures.h"
#include "PixelProbes.h"
#include "TestApplication.h"
#include "pages/ColumnSelectDlg.h"
#include "protocol/CommandTable.h"
#include "signal/AcquisitionFailureHook.h"
#include "signal/ChartWorker.h"
#include "signal/ScanChart.h"
#include "signal/ScanSelection.h"

#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QDialog>
#include <QImage>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace zorvane::testing {
namespace {

using Panel = ColumnSelectDlg;

// How long to wait for something that must happen: far beyond any cycle, also under the sanitizers.
constexpr int kBoundMs = 30000;

const QColor kGreen(92, 193, 24);
const QColor kOrange(250, 138, 18);
const QColor kBackground(241, 248, 252);
const QColor kLine(216, 224, 230);

QAbstractButton& Control(QWidget& panel, int id)
{
    auto* control = panel.findChild<QAbstractButton*>(QStringLiteral("id%1").arg(id));
    if (!control)
        throw std::runtime_error("no control " + std::to_string(id));
    return *control;
}

// A real click: on the indicator of a radio or a box, in the middle of a bitmap button.
void Click(QWidget& panel, int id)
{
    QAbstractButton& control = Control(panel, id);
    const bool indicator = qobject_cast<QRadioButton*>(&control) || qobject_cast<QCheckBox*>(&control);
    const QPoint at = indicator ? QPoint(8, control.height() / 2) : control.rect().center();
    QTest::mouseClick(&control, Qt::LeftButton, {}, at);
}

bool IsScanOn(const Report& r) { return r == commands::SetTouchMode(touch_mode::kScanOn).request; }
bool IsScanOff(const Report& r) { return r == commands::SetTouchMode(touch_mode::kScanOff).request; }
bool IsInitialise(const Report& r) { return r == commands::Initialise().request; }
bool IsSignalRead(const Report& r)
{
    const Report chunk = commands::ReadSignalChunk(0, 0, 0).request;
    return r[1] == chunk[1] && r[2] == chunk[2];
}

// The panel on the simulated frame, steering a chart of its own, its stop routine installed as the
// failure hook, shown as the main window shows it. The chart's worker runs only where a test starts it.
class SelectionPanel : public SimulatedLink {
protected:
    struct Sent {
        Report request;
        int cycle;  // the worker cycle that had begun when the request reached the frame
    };

    // The panel, a member, needs the application before the fixture is made.
    static void SetUpTestSuite() { TestApplication(); }

    void SetUp() override
    {
        SimulatedLink::SetUp();
        backend->WatchRequests([this](const Report& request) {
            std::lock_guard guard(sentLock_);
            sent_.push_back({request, cycles.load()});
        });
        panel.SetChart(&chart);
        panel.OnInitDialog();
        SetAcquisitionFailureHook(panel.FailureHook());
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }

    void TearDown() override
    {
        worker.reset();
        SetAcquisitionFailureHook(nullptr);
        backend->WatchRequests(nullptr);
    }

    // The worker's draw step only counts the cycles (and runs `alsoEachCycle`).
    void StartWorker(std::function<void(ScanChart&)> alsoEachCycle = {})
    {
        worker.emplace(chart, [this, alsoEachCycle = std::move(alsoEachCycle)](ScanChart& drawn) {
            ++cycles;
            if (alsoEachCycle)
                alsoEachCycle(drawn);
        });
    }

    // Waits until `count` more cycles have begun, so a request raised before has had a whole cycle.
    void WaitCycles(int count)
    {
        const int until = cycles + count;
        ASSERT_TRUE(QTest::qWaitFor([&] { return cycles >= until; }, kBoundMs));
    }

    void StartAndWaitForValues()
    {
        Click(panel, Panel::kStartButton);
        ASSERT_TRUE(panel.running());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !chart.data().xValue.empty(); }, kBoundMs));
    }

    // The requests that reached the frame since the last mark.
    std::vector<Sent> SentSinceMark() const
    {
        std::lock_guard guard(sentLock_);
        return sent_;
    }
    void Mark()
    {
        std::lock_guard guard(sentLock_);
        sent_.clear();
    }
    int CountSent(bool (*matches)(const Report&)) const
    {
        const std::vector<Sent> sent = SentSinceMark();
        return static_cast<int>(std::ranges::count_if(sent, [&](const Sent& s) { return matches(s.request); }));
    }

    QAbstractButton& start() { return Control(panel, Panel::kStartButton); }

    std::atomic<int> cycles{0};
    ScanChart chart;
    Panel panel;
    std::optional<ChartWorker> worker;  // last: stopped before the panel and the chart go

private:
    mutable std::mutex sentLock_;
    std::vector<Sent> sent_;
};

// --- The applied selection -----------------------------------------------------------------------

TEST_F(SelectionPanel, AtFirstTheChartsReadNothingAlthoughValueAndPowerShowTicked)
{
    const struct {
        int id;
        const char* caption;
        bool shown;
        bool checked;
    } controls[] = {
        {2000, "Forward", false, false},  {2001, "Middle", true, true},  {2002, "Behind", false, false},
        {1500, "Value", true, true},      {1502, "Power", true, true},   {1503, "Standard", false, false},
        {1501, "Fluctuation", true, false}, {1504, "LED_ON", false, true},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        QAbstractButton& control = Control(panel, c.id);
        EXPECT_EQ(control.text(), QString::fromLatin1(c.caption));
        EXPECT_EQ(control.isVisible(), c.shown);
        EXPECT_EQ(control.isChecked(), c.checked);
    }
    EXPECT_EQ(CurrentScanSelection(), ScanSelection{});
    EXPECT_FALSE(panel.running());
    EXPECT_TRUE(start().isEnabled());

    Click(panel, Panel::kStartButton);
    EXPECT_EQ(CurrentScanSelection(), (ScanSelection{.value = true, .power = true}));
}

// Each click hands over the applied record with only its own switch or the direction changed; the
// hidden controls, once shown, work the same way.
TEST_F(SelectionPanel, AClickHandsOverItsOwnSwitchOrDirectionOnly)
{
    const struct {
        const char* name;
        int id;
        int clicks;
        ScanSelection handedOver;
    } cases[] = {
        {"Value off and on", Panel::kValueBox, 2, {.value = true}},
        {"Power off and on", Panel::kPowerBox, 2, {.power = true}},
        {"Fluctuation", Panel::kFluctuationBox, 1, {.fluctuation = true}},
        {"Standard, shown", Panel::kStandardBox, 1, {.standard = true}},
        {"Behind, shown", Panel::kBehindRadio, 1, {.direction = ScanDirection::Behind}},
        {"Forward, shown", Panel::kForwardRadio, 1, {.direction = ScanDirection::Forward}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetScanSelection({});
        Panel fresh;
        fresh.OnInitDialog();
        fresh.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
        Control(fresh, c.id).show();
        for (int click = 0; click < c.clicks; ++click)
            Click(fresh, c.id);
        EXPECT_EQ(CurrentScanSelection(), c.handedOver);
        EXPECT_EQ(fresh.applied(), c.handedOver);
    }
}

TEST_F(SelectionPanel, TheLedBoxShownSwitchesTheFrameLedInTheNextCycle)
{
    StartWorker();
    Control(panel, Panel::kLedBox).show();
    Click(panel, Panel::kLedBox);
    EXPECT_TRUE(QTest::qWaitFor([&] { return State().settings.led == 0; }, kBoundMs));
    Click(panel, Panel::kLedBox);
    EXPECT_TRUE(QTest::qWaitFor([&] { return State().settings.led == 1; }, kBoundMs));
    EXPECT_EQ(CurrentScanSelection(), ScanSelection{});  // the LED is no part of the selection
}

// --- Start and stop ------------------------------------------------------------------------------

TEST_F(SelectionPanel, TheStartButtonIsDisabledExactlyWhileRunning)
{
    const struct {
        const char* step;
        std::function<void()> act;
        bool running;
    } steps[] = {
        {"start button", [this] { Click(panel, Panel::kStartButton); }, true},
        {"start again by hot key", [this] { panel.OnStart(); }, true},
        {"a click on the disabled start", [this] { Click(panel, Panel::kStartButton); }, true},
        {"stop button", [this] { Click(panel, Panel::kStopButton); }, false},
        {"stop again by hot key", [this] { panel.OnStop(); }, false},
        {"start by hot key", [this] { panel.OnStart(); }, true},
        {"draw button", [this] { Click(panel, Panel::kDrawButton); }, false},
        {"start", [this] { panel.OnStart(); }, true},
        {"a start that fails keeps it running",
         [this] {
             backend->Unplug();
             panel.OnStart();
         },
         true},
        {"stop", [this] { panel.OnStop(); }, false},
        {"a start that fails leaves it idle", [this] { panel.OnStart(); }, false},
        {"start on the frame plugged in again",
         [this] {
             backend->Replug();
             panel.OnStart();
         },
         true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.act();
        EXPECT_EQ(panel.running(), s.running);
        EXPECT_EQ(start().isEnabled(), !s.running);
        EXPECT_EQ(chart.requests().acquiring(), s.running);
    }
}

TEST_F(SelectionPanel, AFailedStartLeavesThePanelIdleAndShowsNothing)
{
    backend->Unplug();
    Click(panel, Panel::kStartButton);
    EXPECT_FALSE(panel.running());
    EXPECT_TRUE(start().isEnabled());
    EXPECT_FALSE(chart.requests().acquiring());
    // The switches were handed over all the same.
    EXPECT_EQ(CurrentScanSelection(), (ScanSelection{.value = true, .power = true}));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_TRUE(window == &panel || !window->isVisible()) << window->metaObject()->className();
}

// Every way into the stop routine while idle: nothing changes and the frame hears nothing.
TEST_F(SelectionPanel, AStopWhileIdleDoesNothingAndSendsNoCommand)
{
    int drawingTests = 0;
    panel.SetDrawingTest([&] { ++drawingTests; });
    StartWorker();
    const struct {
        const char* way;
        std::function<void()> stop;
    } ways[] = {
        {"stop button", [this] { Click(panel, Panel::kStopButton); }},
        {"stop hot key", [this] { panel.OnStop(); }},
        {"failure hook", [this] { RunAcquisitionFailureHook(chart); }},
        {"draw button", [this] { Click(panel, Panel::kDrawButton); }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        Mark();
        w.stop();
        WaitCycles(2);
        EXPECT_TRUE(SentSinceMark().empty());
        EXPECT_FALSE(panel.running());
        EXPECT_TRUE(start().isEnabled());
    }
    EXPECT_EQ(drawingTests, 1);
}

TEST_F(SelectionPanel, InitialiseWhileIdleGoesOutInTheWorkersNextCycle)
{
    StartWorker();
    const struct {
        const char* way;
        std::function<void()> request;
    } ways[] = {
        {"initialise button", [this] { Click(panel, Panel::kInitialiseButton); }},
        {"hot key", [this] { panel.RequestInitialise(); }},
    };
    int initialised = State().settings.initialiseCount;
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        Mark();
        w.request();
        const int cycle = cycles;  // read after the request: the cycle under way then, or a later one
        ASSERT_TRUE(QTest::qWaitFor([&] { return CountSent(IsInitialise) > 0; }, kBoundMs));
        WaitCycles(2);
        const std::vector<Sent> sent = SentSinceMark();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_TRUE(IsInitialise(sent[0].request));
        // In the cycle under way when it was raised, or the one after.
        EXPECT_LE(sent[0].cycle, cycle + 1);
        EXPECT_EQ(State().settings.initialiseCount, ++initialised);
        EXPECT_FALSE(panel.running());
    }
}

// The drawing test is modal: the worker goes on while it is open. By the time it opens acquisition is
// stopped; scan mode off and LED on then reach the frame, and nothing starts acquiring again after.
TEST_F(SelectionPanel, TheDrawButtonStopsAcquisitionBeforeTheDrawingTestAndDoesNotRestartIt)
{
    StartWorker();
    StartAndWaitForValues();
    struct {
        int runs = 0;
        bool running = true, acquiring = true, startEnabled = false, scanOffThenLedOn = false;
    } seen;
    panel.SetDrawingTest([&] {
        ++seen.runs;
        seen.running = panel.running();
        seen.acquiring = chart.requests().acquiring();
        seen.startEnabled = start().isEnabled();
        seen.scanOffThenLedOn = QTest::qWaitFor(
            [&] {
                const std::vector<Sent> sent = SentSinceMark();
                const auto off = std::ranges::find_if(sent, [](const Sent& s) { return IsScanOff(s.request); });
                return off != sent.end() && off + 1 != sent.end() && off[1].request == commands::SetLed(1).request;
            },
            kBoundMs);
    });
    Mark();
    Click(panel, Panel::kDrawButton);
    EXPECT_EQ(seen.runs, 1);
    EXPECT_FALSE(seen.running);
    EXPECT_FALSE(seen.acquiring);
    EXPECT_TRUE(seen.startEnabled);
    EXPECT_TRUE(seen.scanOffThenLedOn);

    Mark();
    WaitCycles(3);
    EXPECT_EQ(CountSent(IsScanOn), 0);
    EXPECT_EQ(CountSent(IsSignalRead), 0);
    EXPECT_FALSE(State().settings.scanMode);
    EXPECT_FALSE(panel.running());
    EXPECT_TRUE(start().isEnabled());
}

// The worker reads the selection in every cycle: ticking Fluctuation needs no restart.
TEST_F(SelectionPanel, TickingFluctuationWhileAcquiringShowsItWithinEightCycles)
{
    std::atomic<int> firstWithFluctuation{0};
    StartWorker([&](ScanChart& drawn) {
        if (firstWithFluctuation == 0 && !drawn.data().xFluctuation.empty())
            firstWithFluctuation = cycles.load();
    });
    StartAndWaitForValues();
    Mark();
    Click(panel, Panel::kFluctuationBox);
    const int cycle = cycles;  // read after the click: every later cycle reads with Fluctuation on
    ASSERT_TRUE(QTest::qWaitFor([&] { return firstWithFluctuation != 0; }, kBoundMs));
    // Eight of them make the spread, which the ninth draws.
    EXPECT_LE(firstWithFluctuation, cycle + 9);
    EXPECT_EQ(chart.data().yFluctuation.size(), 108u);
    EXPECT_EQ(CountSent(IsScanOn), 0);
    EXPECT_TRUE(panel.running());
    EXPECT_FALSE(start().isEnabled());
}

// --- The stop routine on the worker thread -------------------------------------------------------

TEST_F(SelectionPanel, UnpluggingTheFrameWhileAcquiringStopsThePanelFromTheWorkerThread)
{
    std::atomic<std::thread::id> hookThread{};
    SetAcquisitionFailureHook([&, stop = panel.FailureHook()](ScanChart& failed) {
        hookThread = std::this_thread::get_id();
        stop(failed);
    });
    StartWorker();
    StartAndWaitForValues();

    backend->Unplug();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panel.running() && start().isEnabled(); }, kBoundMs));
    EXPECT_NE(hookThread.load(), std::thread::id{});
    EXPECT_NE(hookThread.load(), std::this_thread::get_id());
    EXPECT_FALSE(chart.requests().acquiring());

    // The next start works normally, and the worker still ends when asked.
    backend->Replug();
    Mark();
    StartAndWaitForValues();
    EXPECT_GT(CountSent(IsScanOn), 0);
    worker.reset();
}

// From another thread the stop routine leaves the button to the interface thread, which shows what
// running is when it gets there: a start in between keeps the button disabled.
TEST_F(SelectionPanel, AStopOnAnotherThreadEnablesStartOnlyThroughTheInterfaceThread)
{
    const AcquisitionFailureHook stop = panel.FailureHook();
    const auto stopOnAnotherThread = [&] { std::thread([&] { stop(chart); }).join(); };

    Click(panel, Panel::kStartButton);
    stopOnAnotherThread();
    EXPECT_FALSE(panel.running());
    EXPECT_FALSE(chart.requests().acquiring());
    EXPECT_FALSE(start().isEnabled()) << "the other thread touched the button";

    panel.OnStart();
    QCoreApplication::processEvents();
    EXPECT_TRUE(panel.running());
    EXPECT_FALSE(start().isEnabled());

    stopOnAnotherThread();
    EXPECT_TRUE(QTest::qWaitFor([&] { return start().isEnabled(); }, kBoundMs));
}

TEST_F(SelectionPanel, AHookThatOutlivesItsPanelDoesNothing)
{
    auto gone = std::make_unique<Panel>();
    gone->SetChart(&chart);
    gone->OnInitDialog();
    const AcquisitionFailureHook stop = gone->FailureHook();
    gone->OnStart();
    ASSERT_TRUE(chart.requests().acquiring());
    gone.reset();

    std::thread([&] { stop(chart); }).join();
    stop(chart);
    QCoreApplication::processEvents();
    EXPECT_TRUE(chart.requests().acquiring());
}

// --- Keys ----------------------------------------------------------------------------------------

TEST_F(SelectionPanel, EscapeAndEnterNeitherEndNorChangeThePage)
{
    QDialog host;
    Panel hosted(&host);
    hosted.OnInitDialog();
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QAbstractButton& value = Control(hosted, Panel::kValueBox);
    value.setFocus();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(key);
        QTest::keyClick(&value, key);
        QTest::keyClick(&hosted, key);
        EXPECT_TRUE(host.isVisible());
        EXPECT_TRUE(value.isChecked());
        EXPECT_EQ(CurrentScanSelection(), ScanSelection{});
    }
}

// --- Painting ------------------------------------------------------------------------------------

TEST_F(SelectionPanel, PaintsTheBackgroundTheThreeLinesAndBothTitles)
{
    const QImage picture = panel.RenderPicture();
    ASSERT_EQ(picture.size(), QSize(150, 584));
    const struct {
        QPoint at;
        const QColor& colour;
    } pixels[] = {
        {{147, 0}, kLine},        {{147, 583}, kLine},      {{5, 135}, kLine},        {{141, 135}, kLine},
        {{5, 319}, kLine},        {{141, 319}, kLine},      {{4, 135}, kBackground},  {{142, 135}, kBackground},
        {{142, 319}, kBackground}, {{146, 300}, kBackground}, {{148, 300}, kBackground}, {{70, 136}, kBackground},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(QColor(picture.pixel(p.at)).name(), p.colour.name()) << p.at.x() << "," << p.at.y();

    // Each title on its line of 16 pixels from (10, 15) and (10, 145); four and three characters of 18.
    EXPECT_TRUE(HasInk(picture, QRect(10, 15, 72, 17)));
    EXPECT_TRUE(HasInk(picture, QRect(10, 145, 54, 17)));
    EXPECT_FALSE(HasInk(picture, QRect(0, 0, 147, 13)));
    EXPECT_FALSE(HasInk(picture, QRect(0, 34, 147, 100)));
    EXPECT_FALSE(HasInk(picture, QRect(0, 164, 147, 154)));
    EXPECT_FALSE(HasInk(picture, QRect(84, 0, 63, 584)));
}

// Green for the radio of the panel's direction and for every ticked box, orange for the rest.
TEST_F(SelectionPanel, ControlColoursFollowThePanelState)
{
    for (const int id : {Panel::kForwardRadio, Panel::kBehindRadio, Panel::kStandardBox, Panel::kLedBox})
        Control(panel, id).show();
    const auto colourOf = [&](int id) {
        const QAbstractButton& control = Control(panel, id);
        // The right end of the control, clear of indicator and caption.
        const QPoint at = control.geometry().topRight() + QPoint(-3, control.height() / 2);
        return QColor(panel.grab().toImage().pixel(at));
    };
    const struct {
        const char* step;
        int click;  // 0: none
        std::vector<int> green;
    } steps[] = {
        {"at first", 0, {2001, 1500, 1502, 1504}},
        {"Fluctuation ticked", Panel::kFluctuationBox, {2001, 1500, 1502, 1501, 1504}},
        {"Value unticked", Panel::kValueBox, {2001, 1502, 1501, 1504}},
        {"LED off", Panel::kLedBox, {2001, 1502, 1501}},
        {"Behind", Panel::kBehindRadio, {2002, 1502, 1501}},
    };
    const int all[] = {2000, 2001, 2002, 1500, 1502, 1503, 1501, 1504};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        if (s.click)
            Click(panel, s.click);
        for (const int id : all) {
            const bool green = std::ranges::find(s.green, id) != s.green.end();
            EXPECT_EQ(colourOf(id).name(), (green ? kGreen : kOrange).name()) << id;
        }
    }
}

// The captions are drawn straight on the control's colour, with no box of their own.
TEST_F(SelectionPanel, CaptionsHaveATransparentBackground)
{
    const QImage shown = panel.grab().toImage();
    for (const int id : {Panel::kMiddleRadio, Panel::kValueBox, Panel::kFluctuationBox}) {
        SCOPED_TRACE(id);
        const QRect control = Control(panel, id).geometry();
        const QRect caption(control.left() + 20, control.top() + 1, control.width() - 21, control.height() - 2);
        bool ink = false, light = false;
        for (int y = caption.top(); y <= caption.bottom(); ++y) {
            for (int x = caption.left(); x <= caption.right(); ++x) {
                const QColor c(shown.pixel(x, y));
                ink = ink || qGray(c.rgb()) < 100;
                light = light || (c.red() > 240 && c.green() > 240 && c.blue() > 240);
            }
        }
        EXPECT_TRUE(ink);
        EXPECT_FALSE(light);
    }
}

}  // namespace
}  // namespace zorvane::testing
