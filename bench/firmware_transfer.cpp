// A 128 KiB image (bootloader 0x1606, 2336 data packets) sent through the channel to the simulated
// bootloader, which answers each packet after the reply latency. The least a transfer can take is
// packets x latency plus the pause before the finish: the counters give that floor and how far
// above it the transfer ends. Two smaller measurements show where the rest goes: the same transfer
// with no latency (what the channel and the frame cost per packet), and how long a 1 ms timed wait
// on a condition variable, the simulated frame's way of holding a reply back, really takes here.
// Last, the same update through the firmware page, as a technician runs it.

#include "pages/CUpdateFirmDlg.h"
#include "protocol/FirmwareUpdater.h"
#include "sim/FirmwareImages.h"
#include "sim/SimulatedHidBackend.h"

#include "SimulatedLinkPlatform.h"
#include "WidgetBenchMain.h"

#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>

#include <unistd.h>

namespace zorvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::uint16_t kNewVersion = 0x0320;
constexpr double kPauseBeforeFinishMs = 100.0;

// The process-wide channel and updater run on this machine's one simulated frame.
SimulatedHidBackend& Backend()
{
    static const auto backend = [] {
        auto sim = std::make_shared<SimulatedHidBackend>();
        sim->SetReenumerationDelay(0ms);
        UseSimulatedFrame(sim);
        return sim;
    }();
    return *backend;
}

std::filesystem::path WriteImage(const std::vector<std::uint8_t>& image)
{
    const auto path = std::filesystem::temp_directory_path() / ("zorvane-bench-" + std::to_string(getpid()) + ".bin");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()),
                                                static_cast<std::streamsize>(image.size()));
    return path;
}

// Restarts the frame into its bootloader and has it begin the image, outside the measured time.
bool ReadyToTransfer(const std::filesystem::path& image)
{
    FrameState state = Backend().frame().state();
    state.running = Personality::Bootloader;
    Backend().frame().SetState(state);
    FirmwareUpdater& updater = GetFirmwareUpdater();
    // The first probe may meet the handle the restart killed; that closes it, the next one scans.
    if (updater.ProbeBootloader() != link_status::kOk && updater.ProbeBootloader() != link_status::kOk)
        return false;
    updater.ReadBootloaderVersion();
    return updater.PrepareImage(image) == link_status::kOk;
}

void BM_FirmwareTransfer(benchmark::State& state)
{
    const std::chrono::milliseconds latency(state.range(0));
    Backend().SetReplyLatency(latency);
    const auto bytes = ImageForFrame(Backend().frame().state(), kNewVersion);
    const auto header = CheckFirmwareImage(bytes, AcceptedSizesFor(0x1606)).header;
    const auto packets = static_cast<double>((header.payloadLength + kBootloaderPacket - 1) / kBootloaderPacket);
    const auto path = WriteImage(bytes);

    double totalMs = 0;
    for (auto _ : state) {
        if (!ReadyToTransfer(path)) {
            state.SkipWithError("the simulated bootloader did not take the image");
            break;
        }
        const auto start = Clock::now();
        const LinkStatus status = GetFirmwareUpdater().TransferImage(path);
        const std::chrono::duration<double> took = Clock::now() - start;
        if (status != link_status::kOk) {
            state.SkipWithError("the transfer failed");
            break;
        }
        state.SetIterationTime(took.count());
        totalMs += took.count() * 1000.0;
    }
    std::filesystem::remove(path);

    const double floorMs = packets * static_cast<double>(latency.count()) + kPauseBeforeFinishMs;
    const double meanMs = totalMs / static_cast<double>(state.iterations());
    state.counters["packets"] = packets;
    state.counters["floor_ms"] = floorMs;
    state.counters["over_floor_%"] = (meanMs - floorMs) / floorMs * 100.0;
    state.counters["per_packet_us"] = (meanMs - kPauseBeforeFinishMs) * 1000.0 / packets;
}
BENCHMARK(BM_FirmwareTransfer)->Arg(1)->Arg(0)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// How long a 1 ms timed wait on a condition variable lasts, as the simulated handle waits for a
// reply that is not due yet.
void BM_TimedWaitOneMillisecond(benchmark::State& state)
{
    std::mutex lock;
    std::condition_variable never;
    for (auto _ : state) {
        std::unique_lock guard(lock);
        never.wait_until(guard, Clock::now() + 1ms, [] { return false; });
    }
}
BENCHMARK(BM_TimedWaitOneMillisecond)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The whole update through the firmware page, 1 ms per bootloader reply, from "开始" to the full bar.
// Before the transfer the page waits for its 200 ms probe ticks; the counters split the two, so that
// the transfer as the page runs it can be set against BM_FirmwareTransfer/1. longest_gap_ms is the
// longest the interface thread went without turning its event loop while the worker flashed.
void BM_FirmwarePageUpdate(benchmark::State& state)
{
    Backend().SetReplyLatency(1ms);
    const auto path = WriteImage(ImageForFrame(Backend().frame().state(), kNewVersion));
    CUpdateFirmDlg page;
    page.SetOpenDialog([&path](QWidget*) { return QString::fromStdString(path.string()); });
    page.OnInitDialog();
    page.BrowseImage();

    using Ms = std::chrono::duration<double, std::milli>;
    double toTransferMs = 0, transferMs = 0, longestGapMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        std::optional<Clock::time_point> transferStart;
        auto lastTurn = start;
        QEventLoop loop;
        QTimer turns;  // every millisecond: a busy zero timer would take the worker's processor away
        turns.setTimerType(Qt::PreciseTimer);
        QObject::connect(&turns, &QTimer::timeout, [&] {
            const auto now = Clock::now();
            if (transferStart)
                longestGapMs = std::max(longestGapMs, Ms(now - lastTurn).count());
            else if (page.transferRunning())
                transferStart = now;
            lastTurn = now;
            if (transferStart && !page.transferRunning() && page.shownProgress() == 100.0f)
                loop.quit();
        });
        turns.start(1);
        page.StartUpdate();
        loop.exec();
        state.SetIterationTime(std::chrono::duration<double>(lastTurn - start).count());
        toTransferMs += Ms(*transferStart - start).count();
        transferMs += Ms(lastTurn - *transferStart).count();
    }
    std::filesystem::remove(path);
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["to_transfer_ms"] = toTransferMs / iterations;
    state.counters["transfer_ms"] = transferMs / iterations;
    state.counters["longest_gap_ms"] = longestGapMs;
}
BENCHMARK(BM_FirmwarePageUpdate)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorvane

int main(int argc, char** argv) { return zorvane::RunBenchmarksWithApplication(argc, argv); }
