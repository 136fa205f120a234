#include "signal/WeakReceivers.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

DeviceInfo Frame()
{
    DeviceInfo info;
    info.straightThreshold = 40;
    info.obliqueThreshold = 30;
    info.firmwareVersionText = "4200";  // real board sizes
    info.xBoards = {3, 3};
    info.yBoards = {4};
    return info;
}

TEST(WeakReceivers, BelowTwiceTheDirectionsThresholdWithBoardAndPositionXBeforeY)
{
    const DeviceInfo info = Frame();
    const ScanSeries x = {80, 79, 200, 200, 10, 200};
    const ScanSeries y = {200, 200, 200, 0};
    const std::vector<WeakReceiver> weak = FindWeakReceivers(ScanDirection::Middle, x, y, info);
    const std::vector<WeakReceiver> expected = {
        {ScanAxis::X, 2, 79, "S(Baord01-02)->R(Board01-02)"},
        {ScanAxis::X, 5, 10, "S(Baord02-02)->R(Board02-02)"},
        {ScanAxis::Y, 4, 0, "S(Baord01-04)->R(Board01-04)"},
    };
    EXPECT_EQ(weak, expected);
}

TEST(WeakReceivers, TheNoPartnerMarkOfAnObliqueScanIsNoWeakReceiver)
{
    const DeviceInfo info = Frame();
    const ScanSeries x = {2, 2, 59, 60, 200, 200};
    const std::vector<WeakReceiver> oblique = FindWeakReceivers(ScanDirection::Forward, x, {}, info);
    ASSERT_EQ(oblique.size(), 1u);
    EXPECT_EQ(oblique.front().number, 3);
    // In the straight scan every receiver has its partner: a 2 is a reading.
    EXPECT_EQ(FindWeakReceivers(ScanDirection::Middle, x, {}, info).size(), 4u);
}

}  // namespace
}  // namespace zorvane
