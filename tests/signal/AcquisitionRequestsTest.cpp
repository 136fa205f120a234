#include "signal/AcquisitionRequests.h"

#include <gtest/gtest.h>

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
    AcquisitionRequests requests;
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
    AcquisitionRequests requests;
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

}  // namespace
}  // namespace zorvane
