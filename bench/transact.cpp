// The channel's round trip against the simulated frame answering at once, next to the least a
// two-thread request/reply can cost here: an eventfd wake of a reader that signals a condition
// variable the requester waits on. The difference is what the channel itself adds.

#include "link/DeviceChannel.h"
#include "protocol/CommandTable.h"
#include "sim/SimulatedHidBackend.h"

#include "SimulatedLinkPlatform.h"

#include <benchmark/benchmark.h>

#include <sys/eventfd.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <poll.h>
#include <thread>

namespace zorvane {
namespace {

void BM_TransactRoundTrip(benchmark::State& state)
{
    auto backend = std::make_shared<SimulatedHidBackend>();
    backend->SetReplyLatency(std::chrono::milliseconds::zero());
    DeviceChannel channel(SimulatedLinkPlatform(backend));
    channel.ApplyFilter(NormalFirmwareFilter());
    const Command identity = commands::GetDeviceIdentity();
    Report reply{};
    if (channel.Transact(identity.timeoutMs, identity.request, reply) != link_status::kOk)
        state.SkipWithError("the simulated frame did not answer");
    for (auto _ : state) {
        benchmark::DoNotOptimize(channel.Transact(identity.timeoutMs, identity.request, reply));
    }
}
BENCHMARK(BM_TransactRoundTrip)->UseRealTime();

// The bare hand-off: requester -> eventfd -> reader thread -> condition variable -> requester.
void BM_BareHandOff(benchmark::State& state)
{
    const int wake = eventfd(0, EFD_CLOEXEC);
    std::mutex lock;
    std::condition_variable answered;
    bool replied = false;
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        pollfd p{wake, POLLIN, 0};
        std::uint64_t count;
        while (!stop.load()) {
            if (poll(&p, 1, -1) <= 0 || read(wake, &count, sizeof count) != sizeof count)
                continue;
            {
                std::lock_guard guard(lock);
                replied = true;
            }
            answered.notify_all();
        }
    });
    const std::uint64_t one = 1;
    for (auto _ : state) {
        {
            std::lock_guard guard(lock);
            replied = false;
        }
        benchmark::DoNotOptimize(write(wake, &one, sizeof one));
        std::unique_lock wait(lock);
        answered.wait(wait, [&] { return replied; });
    }
    stop = true;
    benchmark::DoNotOptimize(write(wake, &one, sizeof one));
    reader.join();
    close(wake);
}
BENCHMARK(BM_BareHandOff)->UseRealTime();

}  // namespace
}  // namespace zorvane

BENCHMARK_MAIN();
