// A whole calibration run of each target screen on the demo's frame as delivered (its mounting a
// little off the factory record), through the window-free run the screens drive: a finger rests on
// each target in turn, every correction is written to the simulated frame, which answers at once.
// Reported per target: the 20 ms ticks until the target is reached (40 of them are the stillness
// wait) and the corrections written; per run: the simulated time (ticks x 20 ms). The wall time per
// iteration is the tool's and the simulated frame's own work for a whole run.

#include "calibration/CalibrationRun.h"
#include "calibration/NinePointTargets.h"
#include "calibration/TwoPointTargets.h"
#include "sim/SimulatedHidBackend.h"
#include "sim/TouchModel.h"

#include "SimulatedLinkPlatform.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace zorvane {
namespace {

constexpr int kTickLimit = 5000;

struct TargetCost {
    int ticks = 0;
    int corrections = 0;
};

// The link is process-wide: every benchmark talks to the one frame, delivered afresh for its run.
SimulatedHidBackend& DemoFrame(CalibrationKind kind, ScreenSize display)
{
    static const std::shared_ptr<SimulatedHidBackend> backend = [] {
        auto made = std::make_shared<SimulatedHidBackend>();
        made->SetReplyLatency(std::chrono::milliseconds::zero());
        UseSimulatedFrame(made);
        return made;
    }();
    FrameState state;
    state.calibration.kind = kind;
    DeliverForDisplay(state, display);
    backend->frame().SetState(state);
    return *backend;
}

// A finger rests on `finger` until the run reaches the target; the frame's report moves the pointer
// whenever a write changes it.
template <typename Session>
TargetCost RestOn(CalibrationRun<Session>& run, SimulatedFrame& frame, ScreenPoint finger, ScreenSize display)
{
    const FingerPosition at{static_cast<double>(finger.x), static_cast<double>(finger.y)};
    ScreenPoint reported = frame.ReportTouch(at).value();
    run.touch().Press(reported);
    TargetCost cost;
    while (cost.ticks < kTickLimit) {
        ++cost.ticks;
        const TickOutcome outcome = run.Tick(display);
        if (outcome == TickOutcome::TargetReached || outcome == TickOutcome::Finish)
            break;
        if (outcome == TickOutcome::WriteRecord) {
            ++cost.corrections;
            run.WriteCorrection(GetDeviceProtocol());
        }
        if (const ScreenPoint now = frame.ReportTouch(at).value(); now != reported) {
            reported = now;
            run.touch().Move(now);
        }
    }
    run.touch().Release();
    return cost;
}

std::vector<ScreenPoint> TargetsOf(const TwoPointRun&, ScreenSize display)
{
    return {TargetCentre(TwoPointTarget::TopLeft, display), TargetCentre(TwoPointTarget::BottomRight, display)};
}

std::vector<ScreenPoint> TargetsOf(const NinePointRun&, ScreenSize display)
{
    const auto centres = NinePointLayout(display).Centres();
    return {centres.begin(), centres.end()};
}

template <typename Session>
void MeasureRun(benchmark::State& state, CalibrationKind kind, ScreenSize display)
{
    std::vector<TargetCost> costs;
    for (auto _ : state) {
        state.PauseTiming();
        SimulatedHidBackend& backend = DemoFrame(kind, display);
        state.ResumeTiming();
        CalibrationRun<Session> run;
        run.Begin(GetDeviceProtocol());
        costs.clear();
        for (ScreenPoint target : TargetsOf(run, display))
            costs.push_back(RestOn(run, backend.frame(), target, display));
        run.End(GetDeviceProtocol(), save_answer::kYes);
    }
    int ticks = 0;
    for (std::size_t target = 0; target < costs.size(); ++target) {
        const std::string name = "t" + std::to_string(target);
        state.counters[name + "_ticks"] = costs[target].ticks;
        state.counters[name + "_corr"] = costs[target].corrections;
        ticks += costs[target].ticks;
    }
    state.counters["run_sim_s"] = ticks * TouchHold::kTickMs / 1000.0;
}

void BM_TwoPointRun(benchmark::State& state, ScreenSize display)
{
    MeasureRun<TwoPointSession>(state, CalibrationKind::TwoPoint, display);
}

void BM_NinePointRun(benchmark::State& state, ScreenSize display)
{
    MeasureRun<NinePointSession>(state, CalibrationKind::NinePoint, display);
}

// The demo's default display, and the offscreen tests' one.
BENCHMARK_CAPTURE(BM_TwoPointRun, full_hd, ScreenSize{1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NinePointRun, full_hd, ScreenSize{1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TwoPointRun, svga, ScreenSize{800, 600})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NinePointRun, svga, ScreenSize{800, 600})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorvane

BENCHMARK_MAIN();
