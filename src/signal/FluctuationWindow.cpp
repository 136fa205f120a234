#include "signal/FluctuationWindow.h"

#include <algorithm>

namespace zorvane {

void FluctuationWindow::AxisWindow::Restart(const ScanSeries& reading)
{
    minimum = reading;
    maximum = reading;
}

void FluctuationWindow::AxisWindow::Widen(const ScanSeries& reading)
{
    if (reading.size() != minimum.size())
        Restart(reading);
    for (std::size_t i = 0; i < reading.size(); ++i) {
        minimum[i] = std::min(minimum[i], reading[i]);
        maximum[i] = std::max(maximum[i], reading[i]);
    }
}

ScanSeries FluctuationWindow::AxisWindow::Spread() const
{
    ScanSeries spread(maximum.size());
    std::transform(maximum.begin(), maximum.end(), minimum.begin(), spread.begin(), std::minus<>());
    return spread;
}

std::optional<FluctuationWindow::Spread> FluctuationWindow::Add(const ScanSeries& xValue, const ScanSeries& yValue)
{
    std::lock_guard guard(lock_);
    x_.Widen(xValue);
    y_.Widen(yValue);
    if (++readings_ != kReadings)
        return std::nullopt;
    Spread spread{x_.Spread(), y_.Spread()};
    x_.Restart(xValue);
    y_.Restart(yValue);
    readings_ = 0;
    return spread;
}

FluctuationWindow& GetFluctuationWindow()
{
    static FluctuationWindow window;
    return window;
}

}  // namespace zorvane
