// One scan for the frame as the channel makes it when the frame is not plugged in: list every HID
// interface, then read the attributes of each. Run on a sysfs tree of 40 hidraw nodes, every fourth
// of them a device with three top-level collections (60 interface paths in all). The counter gives how
// often a scan lists the nodes: udev's enumeration is the costly part on a real machine.

#include "FakeSysfs.h"
#include "ReportDescriptorSamples.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <string>

namespace zorvane {
namespace {

constexpr int kNodes = 40;

void BM_ScanWithoutTheFrame(benchmark::State& state)
{
    testing::FakeSysfs sysfs;
    for (int node = 0; node < kNodes; ++node) {
        const auto usb = sysfs.AddUsbDevice("1-" + std::to_string(node), "0110");
        const bool threeCollections = node % 4 == 3;
        sysfs.AddHidraw(usb, node, testing::HidUevent("0003:0000046D:0000C52B"),
                        threeCollections ? samples::kTouchFrameDescriptor : samples::kBootKeyboardDescriptor);
    }
    const auto listings = std::make_shared<std::atomic<int>>(0);
    HidrawBackend backend = sysfs.Backend(listings);
    std::size_t paths = 0;
    for (auto _ : state) {
        const auto listed = backend.ListInterfaces();
        for (const std::string& path : listed)
            benchmark::DoNotOptimize(backend.GetAttributes(path));
        paths = listed.size();
    }
    state.counters["paths"] = static_cast<double>(paths);
    state.counters["listings/scan"] = static_cast<double>(*listings) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ScanWithoutTheFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zorvane

BENCHMARK_MAIN();
