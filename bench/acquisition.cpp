// One acquiring cycle of a chart (Value of X and Y, the simulated frame's 192 x 108 receivers)
// against a frame that takes 1 ms to answer. Most of a cycle is waiting: the 3 ms rest before every
// signal chunk and the frame's answer time. What is left is the tool's own time, measured two ways:
// wall time minus those waits, and the CPU time of the whole process (which also counts the
// simulated frame's own work, so it is an upper bound). Goal: the tool's own time under 5 % of the
// cycle. How late the system's timer ends a 3 ms rest is measured too: that part of the wall-clock
// remainder is the operating system's, not the tool's.

#include "signal/AcquisitionStep.h"
#include "signal/ScanChart.h"
#include "signal/ScanSelection.h"
#include "signal/StartAcquisition.h"
#include "sim/SimulatedHidBackend.h"

#include "SimulatedLinkPlatform.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <thread>

namespace zorvane {
namespace {

constexpr std::chrono::microseconds kChunkPause{3000};
constexpr std::chrono::microseconds kReplyLatency{1000};

double Seconds(std::chrono::steady_clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// How much longer than asked a 3 ms sleep takes on this machine, on average.
std::chrono::steady_clock::duration PauseOvershoot()
{
    constexpr int kSamples = 50;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kSamples; ++i)
        std::this_thread::sleep_for(kChunkPause);
    return (std::chrono::steady_clock::now() - start) / kSamples - kChunkPause;
}

std::int64_t ChunksPerSeries(std::int32_t receivers)
{
    constexpr auto kChunk = static_cast<std::int32_t>(kSignalChunkMax);
    return (receivers + kChunk - 1) / kChunk;
}

void BM_ValueCycle(benchmark::State& state)
{
    auto backend = std::make_shared<SimulatedHidBackend>();
    UseSimulatedFrame(backend);
    backend->SetReplyLatency(std::chrono::duration_cast<std::chrono::milliseconds>(kReplyLatency));
    SetScanSelection({.value = true});
    ScanChart chart;
    chart.Layout(854, 584);
    if (StartAcquisition(chart) != link_status::kOk) {
        state.SkipWithError("the simulated frame did not answer");
        return;
    }
    AcquisitionStep(chart);  // sends scan mode on and reads once: every later cycle only reads

    const DeviceInfo info = GetDeviceProtocol().info();
    const std::int64_t chunks = ChunksPerSeries(info.xReceiverCount) + ChunksPerSeries(info.yReceiverCount);
    const double waitPerCycle = static_cast<double>(chunks) * Seconds(kChunkPause + kReplyLatency);
    const double overshootPerCycle = static_cast<double>(chunks) * Seconds(PauseOvershoot());

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    for (auto _ : state) {
        AcquisitionStep(chart);
        if (chart.data().xValue.size() != static_cast<std::size_t>(info.xReceiverCount)) {
            state.SkipWithError("a read failed");
            break;
        }
    }
    const double cycles = static_cast<double>(state.iterations());
    const double wall = Seconds(std::chrono::steady_clock::now() - wallStart) / cycles;
    const double cpu = (ProcessCpuSeconds() - cpuStart) / cycles;
    const double own = wall - waitPerCycle;

    state.counters["chunks"] = static_cast<double>(chunks);
    state.counters["cycle_ms"] = wall * 1e3;
    state.counters["waits_ms"] = waitPerCycle * 1e3;
    state.counters["own_ms"] = own * 1e3;
    state.counters["own_pct"] = 100 * own / wall;
    state.counters["timer_late_ms"] = overshootPerCycle * 1e3;
    state.counters["own_not_timer_pct"] = 100 * (own - overshootPerCycle) / wall;
    state.counters["cpu_ms"] = cpu * 1e3;
    state.counters["cpu_pct"] = 100 * cpu / wall;
}
BENCHMARK(BM_ValueCycle)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace zorvane

BENCHMARK_MAIN();
