#include "signal/AcquisitionRequests.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace zorvane {
namespace {

struct Taken {
    bool scanOn, scanOff, initialise;
    std::optional<std::uint8_t> led;

    bool operator==(const Taken&) const = default;
};

Taken TakeAll(AcquisitionRequests& requests)
{
    // In the worker's order.
    const bool scanOn = requests.TakeScanOn();
    const bool scanOff = requests.TakeScanOff();
    const bool initialise = requests.TakeInitialise();
    return {scanOn, scanOff, initialise, requests.TakeLed()};
}

constexpr Taken kNothing{false, false, false, std::nullopt};

TEST(AcquisitionRequests, EachRequestIsTakenOnce)
{
    ExitRequest worker;
    AcquisitionRequests requests(worker);
    EXPECT_EQ(TakeAll(requests), kNothing);
    EXPECT_FALSE(requests.acquiring());

    requests.RequestInitialise();
    requests.RequestLed(false);
    EXPECT_EQ(TakeAll(requests), (Taken{false, false, true, 0}));
    EXPECT_EQ(TakeAll(requests), kNothing);

    requests.RequestLed(false);
    requests.RequestLed(true);  // the later state wins; still one command
    EXPECT_EQ(TakeAll(requests), (Taken{false, false, false, 1}));
    EXPECT_EQ(TakeAll(requests), kNothing);
}

TEST(AcquisitionRequests, StartAndStopSendScanModeOnceAndTheLaterOneWins)
{
    ExitRequest worker;
    AcquisitionRequests requests(worker);
    requests.Start();
    EXPECT_TRUE(requests.acquiring());
    EXPECT_EQ(TakeAll(requests), (Taken{true, false, false, std::nullopt}));
    EXPECT_EQ(TakeAll(requests), kNothing);
    EXPECT_TRUE(requests.acquiring());  // acquiring is a state, not a request

    requests.Stop();
    EXPECT_FALSE(requests.acquiring());
    EXPECT_EQ(TakeAll(requests), (Taken{false, true, false, std::nullopt}));

    // Both within one cycle: only the last one's command goes out, so the frame ends up in the
    // scan mode that matches the state.
    requests.Stop();
    requests.Start();
    EXPECT_EQ(TakeAll(requests), (Taken{true, false, false, std::nullopt}));
    EXPECT_TRUE(requests.acquiring());
    requests.Start();
    requests.Stop();
    EXPECT_EQ(TakeAll(requests), (Taken{false, true, false, std::nullopt}));
    EXPECT_FALSE(requests.acquiring());
}

// A request raised while the worker rests, or just before it begins to, is taken without waiting
// for the rest to run out; a back-off after a failure runs its course.
TEST(AcquisitionRequests, EveryRequestWakesTheWorker)
{
    using namespace std::chrono_literals;
    const struct {
        const char* name;
        void (*raise)(AcquisitionRequests&);
    } cases[] = {
        {"start", [](AcquisitionRequests& r) { r.Start(); }},
        {"stop", [](AcquisitionRequests& r) { r.Stop(); }},
        {"initialise", [](AcquisitionRequests& r) { r.RequestInitialise(); }},
        {"LED", [](AcquisitionRequests& r) { r.RequestLed(true); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExitRequest worker;
        AcquisitionRequests requests(worker);
        c.raise(requests);
        worker.Pause(1h);  // returns at once; a broken wake hangs the test

        std::thread raiser([&] {
            std::this_thread::sleep_for(20ms);
            c.raise(requests);
        });
        worker.Pause(1h);
        raiser.join();
    }

    ExitRequest worker;
    AcquisitionRequests requests(worker);
    requests.Stop();
    const auto before = std::chrono::steady_clock::now();
    worker.BackOff(50ms);
    EXPECT_GE(std::chrono::steady_clock::now() - before, 50ms);
    worker.Pause(1h);  // the wake still counts for the next pause
}

}  // namespace
}  // namespace zorvane
