#include "ProcFakeTree.h"
#include "platform/linux/ProcProcessList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

namespace zorvane {
namespace {

using testing::FakeProcTree;

constexpr const char* kWatched = "Merovan.exe";
constexpr int kManyCycles = 600;  // longer than any process is followed as new, and several sweeps

// A system watched for a while: a couple of hundred processes (so that one sweep step cannot stand in
// for looking at new pids) and the last allocated pid at 1000.
class ProcList : public ::testing::Test {
protected:
    ProcList()
    {
        for (int pid = 1; pid <= 200; ++pid)
            tree.AddEntry(pid, "kworker/" + std::to_string(pid));
        tree.AddEntry(412, "bash");
        tree.AddEntry(977, "Xorg");
        tree.AnnouncePid(1000);
        list.IsRunning(kWatched);
    }

    std::optional<bool> Cycle() { return list.IsRunning(kWatched); }

    // Cycles until the watched name is seen, at most `limit`; how many it took (limit + 1: not seen).
    int CyclesUntilSeen(int limit)
    {
        int cycles = 1;
        while (Cycle() != std::optional(true) && cycles <= limit)
            ++cycles;
        return cycles;
    }

    // The bound the list states for what only its sweep finds: one round over the proc root's entries.
    int SweepRoundBound() const
    {
        const auto entries = static_cast<int>(std::distance(std::filesystem::directory_iterator(tree.root()),
                                                            std::filesystem::directory_iterator()));
        const auto perCycle = static_cast<int>(ProcProcessList::kSweepEntriesPerCycle);
        return (entries + perCycle - 1) / perCycle + 1;
    }

    // Runs `count` cycles; true when every one of them answered `expected`.
    bool EveryCycle(int count, bool expected)
    {
        for (int i = 0; i < count; ++i)
            if (Cycle() != std::optional(expected))
                return false;
        return true;
    }

    FakeProcTree tree;
    ProcProcessList list{tree.root()};
};

TEST(ProcProcessList, MatchesTheWholeNameWithItsCase)
{
    const struct {
        const char* comm;
        bool running;
    } cases[] = {
        {"Merovan.exe", true},  {"merovan.exe", false},   {"MEROVAN.EXE", false}, {"Merovan.ex", false},
        {"Merovan", false},     {"Merovan.exe1", false},  {" Merovan.exe", false},
    };
    for (const auto& c : cases) {
        FakeProcTree tree;
        tree.Start(412, "bash");
        tree.Start(500, c.comm);
        ProcProcessList list(tree.root());
        EXPECT_EQ(list.IsRunning(kWatched), c.running) << c.comm << " present at the first look";

        tree.Start(501, c.comm);
        tree.End(500);
        EXPECT_EQ(list.IsRunning(kWatched), c.running) << c.comm << " started later";
    }
}

TEST_F(ProcList, NewProcessIsSeenInTheNextCycle)
{
    const struct {
        const char* how;
        int pid;
    } cases[] = {
        {"the next pid", 1001},
        {"after pids that are gone already", 1050},
        {"after the pid numbers wrapped around", 305},
        {"after a jump too wide to probe", 40000},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(EveryCycle(3, false)) << c.how;
        tree.Start(c.pid, kWatched);
        EXPECT_EQ(Cycle(), true) << c.how;
        tree.End(c.pid);
        EXPECT_EQ(Cycle(), false) << c.how;
    }
}

TEST_F(ProcList, PidAnnouncedBeforeItsEntryAppearsIsLookedAtAgain)
{
    // fork allocates the pid a moment before the child shows in /proc.
    tree.AnnouncePid(1001);
    EXPECT_EQ(Cycle(), false);
    tree.AddEntry(1001, kWatched);
    EXPECT_EQ(Cycle(), true);
}

TEST_F(ProcList, NewThreadIsNoProcess)
{
    // procfs lists no thread ids, so only probing the new pids meets them (the fake lists them,
    // so only the first cycle shows the difference).
    tree.AddEntry(1001, kWatched, 412);
    tree.AnnouncePid(1001);
    EXPECT_EQ(Cycle(), false);
}

TEST_F(ProcList, RenameOfANewProcessIsSeenInTheNextCycle)
{
    // A fork shows its parent's name until it execs; Wine renames its process once it has started.
    const struct {
        int pid;
        int cyclesBeforeRename;
    } cases[] = {{1001, 0}, {1002, 150}};
    for (const auto& c : cases) {
        tree.Start(c.pid, "bash");
        ASSERT_TRUE(EveryCycle(1 + c.cyclesBeforeRename, false));
        tree.Rename(c.pid, kWatched);
        EXPECT_EQ(Cycle(), true) << c.cyclesBeforeRename;
        tree.End(c.pid);
        EXPECT_EQ(Cycle(), false) << c.cyclesBeforeRename;
    }
}

TEST(ProcProcessList, SweepFindsWhatAppearedUnannounced)
{
    const struct {
        const char* how;
        void (*change)(FakeProcTree&);
    } cases[] = {
        {"renamed long after it started", [](FakeProcTree& t) { t.Rename(977, kWatched); }},
        {"started without the last pid moving", [](FakeProcTree& t) { t.AddEntry(2000, kWatched); }},
    };
    for (const auto& c : cases) {
        FakeProcTree tree;
        tree.Start(1, "systemd");
        tree.Start(977, "Xorg");
        ProcProcessList list(tree.root());
        ASSERT_EQ(list.IsRunning(kWatched), false);
        for (int i = 0; i < kManyCycles; ++i)
            list.IsRunning(kWatched);
        c.change(tree);
        bool seen = false;
        for (int i = 0; i < 50 && !seen; ++i)
            seen = list.IsRunning(kWatched) == true;
        EXPECT_TRUE(seen) << c.how;
    }
}

// What no new pid announces is left to the sweep: a rename long after the start, wherever the process
// stands in the listing and wherever the sweep stands when it happens.
TEST_F(ProcList, ALateRenameIsSeenWithinOneSweepRound)
{
    ASSERT_TRUE(EveryCycle(kManyCycles, false));
    const int bound = SweepRoundBound();
    for (const int pid : {1, 37, 74, 111, 148, 185, 200, 412, 977}) {
        tree.Rename(pid, kWatched);
        EXPECT_LE(CyclesUntilSeen(bound), bound) << pid;
        tree.Rename(pid, "kworker");
        EXPECT_EQ(Cycle(), false) << pid;
    }
}

// A burst of new processes fills the list of those followed from their start; one more started then
// and renamed early is left to the sweep as well.
TEST_F(ProcList, ARenameWhileTheNewProcessesFollowedAreManyIsSeenWithinOneSweepRound)
{
    int pid = 1000;
    for (std::size_t started = 0; started < ProcProcessList::kMaxYoung; ++started) {
        tree.Start(++pid, "worker");
        if (started % 100 == 99) {
            ASSERT_EQ(Cycle(), false);  // each step announces few enough pids to probe them one by one
        }
    }
    ASSERT_EQ(Cycle(), false);
    tree.Start(++pid, "bash");
    ASSERT_EQ(Cycle(), false);

    tree.Rename(pid, kWatched);
    const int bound = SweepRoundBound();
    EXPECT_LE(CyclesUntilSeen(bound), bound);
}

TEST_F(ProcList, EndOfTheProgramIsSeenInTheNextCycle)
{
    tree.Start(1001, kWatched);
    tree.Start(1002, kWatched);
    ASSERT_TRUE(EveryCycle(kManyCycles, true));
    tree.End(1001);
    EXPECT_EQ(Cycle(), true) << "the second copy still runs";
    tree.End(1002);
    EXPECT_EQ(Cycle(), false);
}

TEST_F(ProcList, RenameAwayFromTheNameIsSeenInTheNextCycle)
{
    tree.Start(1001, kWatched);
    ASSERT_TRUE(EveryCycle(kManyCycles, true));
    tree.Rename(1001, "sleep");
    EXPECT_EQ(Cycle(), false);
}

TEST_F(ProcList, OddEntriesAreSkipped)
{
    for (const char* dir : {"abc", "12abc", "0", "0123", "-5", "99999999999", "1600", "1700", "1800"})
        std::filesystem::create_directory(tree.root() + "/" + dir);
    for (const char* dir : {"abc", "12abc", "0", "0123", "-5", "99999999999"})
        tree.Write(std::string(dir) + "/comm", std::string(kWatched) + "\n");
    tree.Write("1500", "a file where a process directory belongs");
    std::filesystem::create_directory(tree.root() + "/1600/comm");  // unreadable comm
    tree.Write("1700/comm", "");                                     // empty comm
    tree.Write("1800/status", "Name:\tx\nTgid:\tx\n");               // broken status, no comm
    tree.AnnouncePid(1800);

    ASSERT_TRUE(EveryCycle(kManyCycles, false));
    tree.Start(1801, kWatched);
    EXPECT_EQ(Cycle(), true);
}

TEST_F(ProcList, UnreadableLastPidMeansAWalkEveryCycle)
{
    for (const char* loadavg : {"", "garbage\n", "0.00 0.01 0.05 1/123 -5\n", "0.00 0.01 0.05 1/123 12x\n",
                                "0.00 0.01 0.05 1/123 99999999999999999999\n"}) {
        tree.Write("loadavg", loadavg);
        ASSERT_TRUE(EveryCycle(3, false)) << loadavg;
        tree.AddEntry(1001, kWatched);
        EXPECT_EQ(Cycle(), true) << loadavg;
        tree.End(1001);
        EXPECT_EQ(Cycle(), false) << loadavg;
    }
}

TEST(ProcProcessList, NoProcListGivesNoAnswer)
{
    ProcProcessList list("/nonexistent/zorvane-proc");
    EXPECT_EQ(list.IsRunning(kWatched), std::nullopt);
}

}  // namespace
}  // namespace zorvane
