#include "signal/CadenceCounter.h"
#include "signal/FluctuationWindow.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace zorvane {
namespace {

using Spread = std::optional<std::pair<ScanSeries, ScanSeries>>;

Spread Add(FluctuationWindow& window, const ScanSeries& x, const ScanSeries& y)
{
    if (auto spread = window.Add(x, y))
        return std::pair(spread->x, spread->y);
    return std::nullopt;
}

TEST(FluctuationWindow, SpreadOfEightReadingsThenOfTheRestartAndEightMore)
{
    FluctuationWindow window;
    // X receiver 0 climbs 10, 11, ...; receiver 1 stays; Y swings between 50 and 58.
    auto x = [](int reading) { return ScanSeries{10 + reading, 200}; };
    auto y = [](int reading) { return ScanSeries{reading % 2 ? 58 : 50}; };

    for (int reading = 0; reading < 7; ++reading)
        EXPECT_EQ(Add(window, x(reading), y(reading)), std::nullopt) << reading;
    EXPECT_EQ(Add(window, x(7), y(7)), Spread(std::pair(ScanSeries{7, 0}, ScanSeries{8})));

    // The reading that completed the window starts the next one: 17 .. 25.
    for (int reading = 8; reading < 15; ++reading)
        EXPECT_EQ(Add(window, x(reading), y(reading)), std::nullopt) << reading;
    EXPECT_EQ(Add(window, x(15), y(15)), Spread(std::pair(ScanSeries{8, 0}, ScanSeries{8})));
}

TEST(FluctuationWindow, AReadingOfAnotherLengthRestartsItsAxisOnly)
{
    FluctuationWindow window;
    for (int reading = 0; reading < 6; ++reading)
        window.Add({reading * 10, 0}, {reading});
    // X shrinks (a read that ended early): its extremes start again from this reading.
    window.Add({100}, {6});
    EXPECT_EQ(Add(window, {90}, {7}), Spread(std::pair(ScanSeries{10}, ScanSeries{7})));
}

TEST(FluctuationWindow, UnchangingValuesSpreadZeroAndEmptyStaysEmpty)
{
    FluctuationWindow window;
    Spread spread;
    for (int reading = 0; reading < 8; ++reading)
        spread = Add(window, {120, 130}, {});
    EXPECT_EQ(spread, Spread(std::pair(ScanSeries{0, 0}, ScanSeries{})));
}

TEST(CadenceCounter, DueOnEveryPeriodthTick)
{
    for (const int period : {1, 6, 16}) {
        CadenceCounter counter(period);
        std::vector<int> due;
        for (int tick = 1; tick <= 3 * period; ++tick)
            if (counter.Tick())
                due.push_back(tick);
        EXPECT_EQ(due, (std::vector<int>{period, 2 * period, 3 * period})) << period;
    }
}

}  // namespace
}  // namespace zorvane
