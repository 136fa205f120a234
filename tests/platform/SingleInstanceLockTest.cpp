// Every test runs in a process of its own, so a lock this process takes lasts only for that test.

#include "platform/linux/SingleInstanceLock.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace zorvane {
namespace {

namespace fs = std::filesystem;

// Another copy of the program: a child process that takes the lock and holds it until it ends.
class OtherCopy {
public:
    explicit OtherCopy(const std::string& name)
    {
        int result[2];
        int hold[2];
        if (pipe2(result, O_CLOEXEC) != 0 || pipe2(hold, O_CLOEXEC) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(hold[1]);
            const auto outcome = static_cast<char>(AcquireSingleInstanceLock(name));
            char ignored;
            if (write(result[1], &outcome, 1) == 1)
                (void)!read(hold[0], &ignored, 1);  // returns when the test closes its end
            _exit(0);
        }
        close(result[1]);
        close(hold[0]);
        holdFd_ = hold[1];
        char outcome;
        if (pid_ > 0 && read(result[0], &outcome, 1) == 1)
            outcome_ = static_cast<InstanceLock>(outcome);
        close(result[0]);
    }
    ~OtherCopy() { Kill(); }
    OtherCopy(const OtherCopy&) = delete;
    OtherCopy& operator=(const OtherCopy&) = delete;

    std::optional<InstanceLock> outcome() const { return outcome_; }

    void Exit() { End(false); }
    void Kill() { End(true); }

private:
    void End(bool kill)
    {
        if (pid_ <= 0)
            return;
        if (kill)
            ::kill(pid_, SIGKILL);
        close(holdFd_);
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

    pid_t pid_ = -1;
    int holdFd_ = -1;
    std::optional<InstanceLock> outcome_;
};

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "zorvane-run-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        runtimeDir = pattern;
        setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(runtimeDir); }

    // A lock name no other test process uses, for locks outside the test's own directory.
    static std::string UniqueName(const std::string& what) { return "ZORVANE-test-" + what + "-" + std::to_string(getpid()); }

    std::string runtimeDir;
};

TEST_F(SingleInstance, SecondCopyIsTurnedAwayUntilTheFirstHasEnded)
{
    const struct {
        const char* name;
        void (OtherCopy::*end)();
    } cases[] = {{"ZORVANE-exits", &OtherCopy::Exit}, {"ZORVANE-killed", &OtherCopy::Kill}};
    for (const auto& c : cases) {
        OtherCopy first(c.name);
        ASSERT_EQ(first.outcome(), InstanceLock::Acquired) << c.name;
        EXPECT_EQ(AcquireSingleInstanceLock(c.name), InstanceLock::HeldByAnotherCopy) << c.name;
        EXPECT_EQ(OtherCopy(c.name).outcome(), InstanceLock::HeldByAnotherCopy) << c.name;

        (first.*c.end)();
        EXPECT_EQ(AcquireSingleInstanceLock(c.name), InstanceLock::Acquired) << c.name;
        EXPECT_EQ(OtherCopy(c.name).outcome(), InstanceLock::HeldByAnotherCopy) << c.name << " now held here";
    }
}

TEST_F(SingleInstance, LockFileLivesInTheRuntimeDirectory)
{
    EXPECT_EQ(SingleInstanceLockPath("ZORVANE"), runtimeDir + "/ZORVANE.lock");
    ASSERT_EQ(AcquireSingleInstanceLock("ZORVANE"), InstanceLock::Acquired);
    EXPECT_EQ(fs::status(runtimeDir + "/ZORVANE.lock").permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SingleInstance, WithoutRuntimeDirectoryAPrivateFileInTmpServes)
{
    unsetenv("XDG_RUNTIME_DIR");
    const std::string name = UniqueName("tmp");
    const std::string path = SingleInstanceLockPath(name);
    EXPECT_EQ(path, "/tmp/" + name + "-" + std::to_string(geteuid()) + ".lock");

    EXPECT_EQ(AcquireSingleInstanceLock(name), InstanceLock::Acquired);
    EXPECT_EQ(fs::symlink_status(path).type(), fs::file_type::regular);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    fs::remove(path);
}

TEST_F(SingleInstance, SomethingElsePlantedUnderTheFallbackNameIsNotUsed)
{
    unsetenv("XDG_RUNTIME_DIR");
    const std::string target = runtimeDir + "/target";
    const struct {
        const char* what;
        void (*plant)(const std::string& path, const std::string& target);
    } cases[] = {
        {"link", [](const std::string& path, const std::string& t) { fs::create_symlink(t, path); }},
        {"fifo", [](const std::string& path, const std::string&) { mkfifo(path.c_str(), 0666); }},
        {"directory", [](const std::string& path, const std::string&) { fs::create_directory(path); }},
    };
    for (const auto& c : cases) {
        const std::string name = UniqueName(c.what);
        const std::string path = SingleInstanceLockPath(name);
        c.plant(path, target);
        EXPECT_EQ(AcquireSingleInstanceLock(name), InstanceLock::Unavailable) << c.what;
        EXPECT_FALSE(fs::exists(target)) << c.what;
        fs::remove(path);
    }
}

TEST_F(SingleInstance, AnotherUsersFileIsNotUsed)
{
    const std::string path = SingleInstanceLockPath("ZORVANE");
    close(open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
    if (chown(path.c_str(), geteuid() + 1, static_cast<gid_t>(-1)) != 0)
        GTEST_SKIP() << "giving a file away needs root";
    EXPECT_EQ(AcquireSingleInstanceLock("ZORVANE"), InstanceLock::Unavailable);
}

TEST_F(SingleInstance, MissingRuntimeDirectoryMeansNoGuard)
{
    setenv("XDG_RUNTIME_DIR", (runtimeDir + "/missing").c_str(), 1);
    EXPECT_EQ(AcquireSingleInstanceLock("ZORVANE"), InstanceLock::Unavailable);
}

}  // namespace
}  // namespace zorvane
