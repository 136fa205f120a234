#pragma once

#include "protocol/ScanSeriesRead.h"

#include <mutex>
#include <optional>

namespace zorvane {

// The peak-to-peak spread of every receiver's Value over a window of eight readings. One window is
// shared by every chart (see GetFluctuationWindow); thread-safe.
class FluctuationWindow {
public:
    static constexpr int kReadings = 8;

    struct Spread {
        ScanSeries x, y;
    };

    // Widens the window by one reading of both axes. An axis whose reading has a different length
    // from its window starts that axis afresh from the reading. Every eighth call returns the
    // spread, one element per element of the reading, and restarts the window from this reading.
    std::optional<Spread> Add(const ScanSeries& xValue, const ScanSeries& yValue);

private:
    struct AxisWindow {
        ScanSeries minimum, maximum;

        void Restart(const ScanSeries& reading);
        void Widen(const ScanSeries& reading);
        ScanSeries Spread() const;
    };

    std::mutex lock_;
    AxisWindow x_, y_;
    int readings_ = 0;
};

// The process-wide window, created on first use.
FluctuationWindow& GetFluctuationWindow();

}  // namespace zorvane
