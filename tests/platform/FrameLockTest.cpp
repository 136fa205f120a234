#include "platform/linux/FrameLock.h"
#include "platform/linux/SingleInstanceLock.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace zorvane {
namespace {

class FrameLockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::path(::testing::TempDir()) / ("frame-lock-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

TEST_F(FrameLockTest, SecondHolderLearnsWhoHasTheFrameUntilItIsReleased)
{
    std::optional<FrameLock> window(std::in_place, kSimulatedFrameLock, "zorvane");
    ASSERT_EQ(window->state(), FrameLock::State::Acquired);
    {
        const FrameLock cli(kSimulatedFrameLock, "zorvanectl");
        EXPECT_EQ(cli.state(), FrameLock::State::Held);
        EXPECT_EQ(cli.holder(), "zorvane " + std::to_string(getpid()));
        EXPECT_EQ(cli.holderProgram(), "zorvane");
        // The other frame is free.
        EXPECT_EQ(FrameLock(kHidrawFrameLock, "zorvanectl").state(), FrameLock::State::Acquired);
    }
    window.reset();
    EXPECT_EQ(FrameLock(kSimulatedFrameLock, "zorvanectl").state(), FrameLock::State::Acquired);
}

TEST_F(FrameLockTest, PlantedLinkIsNotFollowed)
{
    const std::filesystem::path target = folder_ / "elsewhere";
    std::filesystem::create_symlink(target, SingleInstanceLockPath(kHidrawFrameLock));
    EXPECT_EQ(FrameLock(kHidrawFrameLock, "zorvanectl").state(), FrameLock::State::Unavailable);
    EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
}  // namespace zorvane
