// The demo's pen tray: a pen lifted and put back, slot after slot, as the frame's reports, until the demo
// ends it.

#include "demo/DemoPenTray.h"
#include "sim/SimulatedFrame.h"

#include <gtest/gtest.h>

#include <chrono>

namespace zorvane {
namespace {

using namespace std::chrono_literals;
using Slots = std::array<std::uint8_t, 6>;

TEST(DemoPenTray, EachPenIsLiftedAndPutBackInTurn)
{
    EXPECT_EQ(DemoPenTray::SlotsAfter(0), (Slots{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(DemoPenTray::SlotsAfter(1), (Slots{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(DemoPenTray::SlotsAfter(10), (Slots{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(DemoPenTray::SlotsAfter(12), DemoPenTray::SlotsAfter(0));
}

TEST(DemoPenTray, ItsReportsReachTheFramesCommandCollection)
{
    const auto backend = std::make_shared<SimulatedHidBackend>();
    const std::shared_ptr<HidHandle> handle = backend->Open(SimulatedHidBackend::kCommandPath).handle;
    ASSERT_NE(handle, nullptr);
    {
        const DemoPenTray tray(backend, 1ms);
        for (int change : {0, 1, 2}) {
            Report report{};
            ASSERT_EQ(handle->Read(report, 30s).outcome, ReadOutcome::Data);
            EXPECT_EQ(report, SimulatedFrame::PenTrayReport(DemoPenTray::SlotsAfter(change))) << change;
        }
    }  // stopped and joined here
    handle->Close();
}

TEST(DemoPenTray, EndsWithoutWaitingOutItsPeriod)
{
    const auto backend = std::make_shared<SimulatedHidBackend>();
    // A period no test run could sit through: ending must not wait for it.
    const DemoPenTray tray(backend, std::chrono::hours(24));
}

}  // namespace
}  // namespace zorvane
