// The simulated frame's receiver readings, read chunk by chunk as the host reads them.
#include "sim/SimulatedFrame.h"

#include "protocol/CommandTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace zorvane {
namespace {

constexpr int kStandard = 6;
constexpr int kPower = 12;
constexpr int kMiddle = 1;

int Selector(int base, int direction, int axis) { return base + 2 * direction + axis; }

// The frame reads its receivers only in scan mode, which the host switches on before it reads.
FrameState Scanning(FrameState state = {})
{
    state.settings.scanMode = true;
    return state;
}

Report Chunk(SimulatedFrame& frame, int selector, std::uint16_t first, std::uint16_t count)
{
    const std::vector<Report> replies =
        frame.Answer(commands::ReadSignalChunk(static_cast<std::uint8_t>(selector), first, count).request);
    EXPECT_EQ(replies.size(), 1u);
    return replies.empty() ? Report{} : replies.front();
}

// The whole series, in chunks of 55.
std::vector<int> Series(SimulatedFrame& frame, int selector)
{
    const FrameState::Layout layout = frame.state().layout;
    const int receivers = selector % 2 ? layout.yReceivers : layout.xReceivers;
    std::vector<int> series;
    for (int first = 0; first < receivers; first += 55) {
        const Report reply = Chunk(frame, selector, static_cast<std::uint16_t>(first), 55);
        series.insert(series.end(), reply.begin() + 9, reply.begin() + 9 + reply[8]);
    }
    return series;
}

TEST(SimulatedFrameSignal, ChunkReplyCarriesTheReadingsOfTheReceiversThatExist)
{
    struct Case {
        std::uint16_t first;
        std::uint16_t count;
        int readings;  // of the 108 Y receivers
    };
    const Case cases[] = {{0, 55, 55}, {55, 55, 53}, {100, 5, 5}, {0, 60, 55}, {108, 5, 0}, {300, 10, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + "+" + std::to_string(c.count));
        SimulatedFrame frame(Scanning());
        const Report request = commands::ReadSignalChunk(3, c.first, c.count).request;

        const Report reply = Chunk(frame, 3, c.first, c.count);

        EXPECT_TRUE(IsReplyTo(reply, request));
        EXPECT_EQ(reply[2], 0x81);
        EXPECT_EQ(reply[5], 3);
        EXPECT_EQ(reply[6] | reply[7] << 8, c.first);
        EXPECT_EQ(reply[8], c.readings);
        EXPECT_TRUE(std::all_of(reply.begin() + 9, reply.begin() + 9 + c.readings, [](int v) { return v > 2; }));
        EXPECT_TRUE(std::all_of(reply.begin() + 9 + c.readings, reply.end(), [](int v) { return v == 0; }));
    }
}

TEST(SimulatedFrameSignal, UnknownSelectorIsRejected)
{
    SimulatedFrame frame(Scanning());
    EXPECT_EQ(Chunk(frame, 18, 0, 55)[2], SimulatedFrame::kStatusRejected);
}

TEST(SimulatedFrameSignal, ValuesScatterAroundTheStandardWhileStandardAndPowerStay)
{
    SimulatedFrame frame(Scanning());
    const int amplitude = frame.state().signal.noiseAmplitude;
    for (int axis = 0; axis < 2; ++axis) {
        SCOPED_TRACE(axis);
        const int value = Selector(0, kMiddle, axis);
        const std::vector<int> standard = Series(frame, Selector(kStandard, kMiddle, axis));
        const std::vector<int> first = Series(frame, value);
        const std::vector<int> second = Series(frame, value);

        EXPECT_NE(first, second);
        EXPECT_EQ(Series(frame, Selector(kStandard, kMiddle, axis)), standard);
        EXPECT_EQ(Series(frame, Selector(kPower, kMiddle, axis)), Series(frame, Selector(kPower, kMiddle, axis)));
        for (std::size_t i = 0; i < standard.size(); ++i) {
            EXPECT_LE(std::abs(first[i] - standard[i]), amplitude) << i;
            EXPECT_LE(std::abs(second[i] - standard[i]), amplitude) << i;
        }
    }
}

TEST(SimulatedFrameSignal, TheSameNoiseStateRepeatsTheSameReadings)
{
    SimulatedFrame one(Scanning());
    SimulatedFrame same(one.state());
    FrameState reseeded = one.state();
    reseeded.signal.noise += 1;
    SimulatedFrame other(reseeded);

    const std::vector<int> reading = Series(one, 2);
    EXPECT_EQ(Series(same, 2), reading);
    EXPECT_NE(Series(other, 2), reading);
}

TEST(SimulatedFrameSignal, ObliqueScansMarkTheReceiversWithoutAPartner)
{
    SimulatedFrame frame(Scanning());
    const FrameState::Signal signal = frame.state().signal;
    for (int axis = 0; axis < 2; ++axis) {
        const int offset = axis ? signal.yObliqueOffset : signal.xObliqueOffset;
        for (int direction = 0; direction < 3; ++direction) {
            SCOPED_TRACE(std::to_string(axis) + "/" + std::to_string(direction));
            const std::vector<int> values = Series(frame, Selector(0, direction, axis));
            const std::vector<int> standard = Series(frame, Selector(kStandard, direction, axis));
            const std::vector<int> power = Series(frame, Selector(kPower, direction, axis));
            const int receivers = static_cast<int>(values.size());
            // Forward pairs with the emitter `offset` places on, so the last ones have none; behind the first ones.
            const int unpairedFrom = direction == 0 ? receivers - offset : 0;
            const int unpairedTo = direction == 0 ? receivers : direction == 2 ? offset : 0;

            for (int i = 0; i < receivers; ++i) {
                const bool unpaired = i >= unpairedFrom && i < unpairedTo;
                const auto at = static_cast<std::size_t>(i);
                EXPECT_EQ(values[at] == 2, unpaired) << i;
                EXPECT_EQ(standard[at] == 0 && power[at] == 0, unpaired) << i;
            }
        }
    }
}

TEST(SimulatedFrameSignal, LevelsFollowTheThresholdsAndWeakReceiversNeedMorePower)
{
    FrameState state;
    state.layout.straightThreshold = 50;
    state.layout.obliqueThreshold = 20;
    state.signal.xWeakReceivers = {0, 100};
    state.signal.yWeakReceivers = {};
    SimulatedFrame frame(Scanning(state));
    for (int direction = 0; direction < 3; ++direction) {
        SCOPED_TRACE(direction);
        const int twice = 2 * (direction == kMiddle ? 50 : 20);
        const std::vector<int> x = Series(frame, Selector(kStandard, direction, 0));
        const std::vector<int> xPower = Series(frame, Selector(kPower, direction, 0));
        const std::vector<int> y = Series(frame, Selector(kStandard, direction, 1));

        EXPECT_LT(x[100], twice);
        EXPECT_TRUE(std::all_of(y.begin(), y.end(), [twice](int v) { return v == 0 || v >= twice + 6; }));
        int strongestHealthyPower = 0;
        for (std::size_t i = 1; i < xPower.size(); ++i) {
            if (i != 100)
                strongestHealthyPower = std::max(strongestHealthyPower, xPower[i]);
        }
        EXPECT_GT(xPower[100], strongestHealthyPower);
    }
}

}  // namespace
}  // namespace zorvane
