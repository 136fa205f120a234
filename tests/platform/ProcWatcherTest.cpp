// The watcher on the real process list: a real program started under the watched name.

#include "FakeHid.h"
#include "link/DeviceChannel.h"
#include "platform/linux/ProcProcessList.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

extern char** environ;

namespace zorvane {
namespace {

using namespace std::chrono_literals;

// Polls until `condition` holds; the deadline only guards against a hang.
template <typename Condition>
bool Eventually(Condition condition)
{
    for (const auto deadline = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < deadline;) {
        if (condition())
            return true;
        std::this_thread::sleep_for(1ms);
    }
    return condition();
}

// A copy of sleep named like the watched program, started and ended by the test.
class WatchedProgram {
public:
    WatchedProgram() : dir_(std::filesystem::temp_directory_path() / ("zorvane-watcher-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(dir_);
        std::filesystem::copy_file("/bin/sleep", dir_ / kWatchedProgram, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::permissions(dir_ / kWatchedProgram, std::filesystem::perms::owner_all);
    }
    ~WatchedProgram()
    {
        End();
        std::filesystem::remove_all(dir_);
    }
    WatchedProgram(const WatchedProgram&) = delete;
    WatchedProgram& operator=(const WatchedProgram&) = delete;

    bool Start()
    {
        const std::string path = (dir_ / kWatchedProgram).string();
        char seconds[] = "60";
        char* argv[] = {const_cast<char*>(path.c_str()), seconds, nullptr};
        return posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environ) == 0;
    }

    // Kills and reaps it, so that it leaves the process list.
    void End()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

private:
    std::filesystem::path dir_;
    pid_t pid_ = 0;
};

TEST(ProcWatcher, DeviceAccessPausesWhileTheWatchedProgramRuns)
{
    WatchedProgram program;
    DeviceChannel channel({std::make_shared<testing::FakeHid>(), std::make_shared<ProcProcessList>(), "zorvane"});
    std::this_thread::sleep_for(50ms);  // the watcher has taken its first look
    ASSERT_FALSE(channel.accessSuspended());

    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(Eventually([&] { return channel.accessSuspended(); }));
    Report reply{};
    EXPECT_EQ(channel.Transact(100, Report{}, reply), link_status::kSuspended);

    program.End();
    ASSERT_TRUE(Eventually([&] { return !channel.accessSuspended(); }));
    EXPECT_EQ(channel.Transact(100, Report{}, reply), link_status::kNoDevice) << "no frame, but not suspended";
}

}  // namespace
}  // namespace zorvane
