#include "sim/SimulatedHidBackend.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

using Kind = DeviceNotice::Kind;

std::vector<DeviceNotice> ForFramePaths(Kind kind)
{
    std::vector<DeviceNotice> notices;
    for (const char* path : SimulatedHidBackend::kFramePaths)
        notices.push_back({kind, path});
    return notices;
}

TEST(SimulatedNotices, UnplugAndReplugAnnounceEveryFramePath)
{
    SimulatedHidBackend backend;
    std::vector<DeviceNotice> seen;
    backend.SetHandler([&](const DeviceNotice& notice) { seen.push_back(notice); });

    backend.Unplug();
    EXPECT_EQ(seen, ForFramePaths(Kind::Removal));
    seen.clear();
    backend.Unplug();
    EXPECT_TRUE(seen.empty()) << "nothing left to remove";

    backend.Replug();
    EXPECT_EQ(seen, ForFramePaths(Kind::Arrival));

    backend.SetHandler(nullptr);
    seen.clear();
    backend.Unplug();
    EXPECT_TRUE(seen.empty()) << "a cleared handler is never called";
}

}  // namespace
}  // namespace zorvane
