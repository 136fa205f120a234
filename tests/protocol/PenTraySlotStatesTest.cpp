// The pen tray states between the reader thread and the page's timer: each report seen once, the last
// of a period wins, and a snapshot never mixes two reports.

#include "protocol/PenTraySlotStates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace zorvane {
namespace {

using States = PenTraySlotStates::States;

TEST(PenTraySlotStates, TheLastReportSinceTheLastLookIsTakenOnce)
{
    PenTraySlotStates states;
    EXPECT_EQ(states.TakeIfChanged(), std::nullopt) << "before any report";

    states.Store({2, 1, 2, 1, 3, 256});
    states.Store({1, 1, 1, 1, 1, 2});
    EXPECT_EQ(states.TakeIfChanged(), (States{1, 1, 1, 1, 1, 2}));
    EXPECT_EQ(states.TakeIfChanged(), std::nullopt);

    states.Store({1, 1, 1, 1, 1, 2});
    EXPECT_EQ(states.TakeIfChanged(), (States{1, 1, 1, 1, 1, 2})) << "the same report again is a report";
}

TEST(PenTraySlotStates, ASnapshotTakenWhileReportsArriveIsOneWholeReport)
{
    constexpr int kReports = 20000;
    PenTraySlotStates states;
    std::thread reader([&] {
        for (int n = 1; n <= kReports; ++n)
            states.Store({n, n, n, n, n, n});
    });
    int last = 0;
    bool whole = true;
    bool ordered = true;
    while (last < kReports) {
        if (const auto taken = states.TakeIfChanged()) {
            whole = whole && std::ranges::all_of(*taken, [&](int s) { return s == (*taken)[0]; });
            ordered = ordered && (*taken)[0] > last;
            last = (*taken)[0];
        }
    }
    reader.join();
    EXPECT_TRUE(whole);
    EXPECT_TRUE(ordered);
    EXPECT_EQ(states.TakeIfChanged(), std::nullopt);
}

}  // namespace
}  // namespace zorvane
