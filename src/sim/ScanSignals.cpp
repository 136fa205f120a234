#include "sim/ScanSignals.h"

#include <algorithm>

namespace zorvane {
namespace {

enum class Kind { Value, Standard, Power };

struct Series {
    Kind kind;
    int direction;  // 0 forward, 1 middle (straight), 2 behind
    int axis;       // 0 X, 1 Y
};

constexpr int kSeriesPerKind = 6;
constexpr int kSelectorCount = 3 * kSeriesPerKind;
constexpr int kMiddle = 1;
constexpr std::uint8_t kNoPartner = 2;  // the frame's mark of a receiver an oblique scan cannot pair
constexpr int kLowestReading = 3;       // so that a real reading is never taken for that mark
constexpr int kHighestReading = 255;
// Receiver levels in percent of the scan's threshold: healthy ones well above twice the threshold,
// weak ones below it.
constexpr int kHealthyPercent = 360;
constexpr int kHealthySpread = 121;
constexpr int kWeakPercent = 125;
constexpr int kWeakSpread = 51;
// The drive for a receiver at this level; weaker receivers need proportionally more.
constexpr int kNominalPercent = 420;
constexpr int kNominalPower = 100;

Series Decode(std::uint8_t selector)
{
    return {static_cast<Kind>(selector / kSeriesPerKind), selector % kSeriesPerKind / 2, selector % 2};
}

// SplitMix64's mixing step: turns any number into a well spread one.
std::uint64_t Mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t NextRandom(std::uint64_t& state) { return Mix(state += 0x9E3779B97F4A7C15ull); }

// A reading between -amplitude and +amplitude, most often near 0.
int Noise(FrameState::Signal& signal)
{
    const std::uint64_t span = signal.noiseAmplitude + 1u;
    return static_cast<int>(NextRandom(signal.noise) % span + NextRandom(signal.noise) % span) - signal.noiseAmplitude;
}

// Fixed for each receiver and scan geometry, as its optics are.
int LevelPercent(const Series& series, int receiver, bool weak)
{
    const std::uint64_t spread = Mix(static_cast<std::uint64_t>(series.axis) << 40 |
                                     static_cast<std::uint64_t>(series.direction) << 32 |
                                     static_cast<std::uint32_t>(receiver));
    return weak ? kWeakPercent + static_cast<int>(spread % kWeakSpread)
                : kHealthyPercent + static_cast<int>(spread % kHealthySpread);
}

std::uint8_t Clamped(int reading)
{
    return static_cast<std::uint8_t>(std::clamp(reading, kLowestReading, kHighestReading));
}

std::uint8_t Reading(FrameState& state, const Series& series, int receiver, int receivers)
{
    FrameState::Signal& signal = state.signal;
    const int offset = series.axis ? signal.yObliqueOffset : signal.xObliqueOffset;
    const int partner = receiver + (kMiddle - series.direction) * offset;
    if (partner < 0 || partner >= receivers)
        return series.kind == Kind::Value ? kNoPartner : 0;

    const std::vector<int>& weakOnes = series.axis ? signal.yWeakReceivers : signal.xWeakReceivers;
    const bool weak = std::find(weakOnes.begin(), weakOnes.end(), receiver) != weakOnes.end();
    const int percent = LevelPercent(series, receiver, weak);
    const int threshold = series.direction == kMiddle ? state.layout.straightThreshold : state.layout.obliqueThreshold;
    const int level = threshold * percent / 100;
    switch (series.kind) {
    case Kind::Standard:
        return Clamped(level);
    case Kind::Power:
        return Clamped(kNominalPower * kNominalPercent / percent);
    case Kind::Value:
        break;
    }
    return Clamped(level + Noise(signal));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadReceivers(FrameState& state, std::uint8_t selector, int first, int count)
{
    if (selector >= kSelectorCount)
        return std::nullopt;
    const Series series = Decode(selector);
    const int receivers = series.axis ? state.layout.yReceivers : state.layout.xReceivers;
    std::vector<std::uint8_t> readings;
    for (int receiver = first; receiver < std::min(first + count, receivers); ++receiver)
        readings.push_back(Reading(state, series, receiver, receivers));
    return readings;
}

}  // namespace zorvane
