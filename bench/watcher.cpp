// CPU time of one external-tool watcher cycle's look at the process list: the procfs list against
// the straightforward walk that reads every process's comm. Run on the real /proc as it is, and with
// 500 sleeping children added; quiet (no process starts) and with one process starting per cycle.
// At the watcher's 5 ms cycle, 50 us of CPU per cycle is 1 % of one core.

#include "link/DeviceChannel.h"
#include "platform/linux/ProcProcessList.h"

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <deque>
#include <string_view>

extern char** environ;

namespace zorvane {
namespace {

constexpr int kSettleCycles = 400;  // longer than a new process is followed: the steady state

// The baseline: every cycle opens and reads the comm of every listed process.
class NaiveProcessList final : public ProcessList {
public:
    std::optional<bool> IsRunning(const std::string& name) override
    {
        DIR* dir = opendir("/proc");
        if (!dir)
            return std::nullopt;
        const std::string wanted = name + "\n";
        bool found = false;
        const dirent* entry = nullptr;
        while (!found && (entry = readdir(dir)) != nullptr) {
            if (!std::isdigit(static_cast<unsigned char>(entry->d_name[0])))
                continue;
            char path[sizeof entry->d_name + 16];
            std::snprintf(path, sizeof path, "/proc/%s/comm", entry->d_name);
            const int fd = open(path, O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            char comm[64];
            const ssize_t length = read(fd, comm, sizeof comm);
            close(fd);
            found = length > 0 && std::string_view(comm, static_cast<std::size_t>(length)) == wanted;
        }
        closedir(dir);
        return found;
    }
};

// Sleeping children, each one more entry in the process list. posix_spawn rather than fork: a fork
// would leave the benchmark's own pages copy-on-write and bill their copying to the measured cycle.
class SleepingChildren {
public:
    explicit SleepingChildren(int count)
    {
        for (int i = 0; i < count; ++i)
            Spawn();
    }
    ~SleepingChildren()
    {
        while (!pids_.empty())
            EndOldest();
    }
    SleepingChildren(const SleepingChildren&) = delete;
    SleepingChildren& operator=(const SleepingChildren&) = delete;

    // One process start while the count stays the same: the oldest child ends, a new one starts.
    void Replace()
    {
        EndOldest();
        Spawn();
    }

private:
    void Spawn()
    {
        char program[] = "/bin/sleep";
        char seconds[] = "3600";
        char* argv[] = {program, seconds, nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) == 0)
            pids_.push_back(pid);
    }

    void EndOldest()
    {
        if (pids_.empty())
            return;
        kill(pids_.front(), SIGKILL);
        waitpid(pids_.front(), nullptr, 0);
        pids_.pop_front();
    }

    std::deque<pid_t> pids_;
};

// Arguments: sleeping children added, processes started per cycle (0 or 1). A start ends the oldest
// child first, so without other children each started process lives one cycle, with 500 it lives
// 500 cycles (and the list follows the last second's worth of them).
template <typename List>
void BM_WatcherCycle(benchmark::State& state)
{
    SleepingChildren children(static_cast<int>(state.range(0)));
    const bool startEachCycle = state.range(1) != 0;
    List processes;
    for (int i = 0; i < kSettleCycles; ++i) {
        if (startEachCycle)
            children.Replace();
        processes.IsRunning(kWatchedProgram);
    }

    for (auto _ : state) {
        if (startEachCycle) {
            state.PauseTiming();
            children.Replace();
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(processes.IsRunning(kWatchedProgram));
    }
}

BENCHMARK_TEMPLATE(BM_WatcherCycle, ProcProcessList)
    ->ArgsProduct({{0, 500}, {0, 1}})
    ->ArgNames({"children", "starts"})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_WatcherCycle, NaiveProcessList)
    ->ArgsProduct({{0, 500}, {0, 1}})
    ->ArgNames({"children", "starts"})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zorvane

BENCHMARK_MAIN();
