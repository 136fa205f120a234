#pragma once

#include <array>

namespace zorvane {

// Where the three grid lines of each half sit and what they are labelled: line k at full scale / d[k].
// Newer firmware reports on a different scale, hence two sets.
struct ScaleSet {
    std::array<double, 3> divisors;
    std::array<const char*, 3> labels;
};

inline constexpr ScaleSet kScaleSetA{{1.25, 1.666667, 3.125}, {"200", "150", "80"}};
inline constexpr ScaleSet kScaleSetB{{1.25, 2.4, 5.9}, {"200", "100", "40"}};

// The first firmware version (by ChartVersion) that reports on the set-B scale.
inline constexpr int kScaleSetBVersion = 4100;

const ScaleSet& ScaleSetFor(int version);

}  // namespace zorvane
