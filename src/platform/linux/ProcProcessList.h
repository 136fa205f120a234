#pragma once

#include "link/ProcessList.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvane {

// The process list of procfs. A process's executable name is its `comm` (a Windows program run
// under Wine shows its .exe name there); comm keeps at most 15 bytes, so a longer name never matches.
// A process counts until it has been reaped. Made to be asked every few milliseconds by one thread;
// see the .cpp for how it stays cheap.
class ProcProcessList final : public ProcessList {
public:
    // `procRoot` is where procfs is mounted; tests hand in a fake tree.
    explicit ProcProcessList(std::string procRoot = "/proc");
    ~ProcProcessList() override;
    ProcProcessList(const ProcProcessList&) = delete;
    ProcProcessList& operator=(const ProcProcessList&) = delete;

    std::optional<bool> IsRunning(const std::string& name) override;

    // How soon a process under the watched name is seen, in cycles (calls of IsRunning, 5 ms apart in
    // the watcher):
    // - started under the name, or renamed to it within kYoungCycles of its start: the next cycle;
    // - renamed to it later, or started while kMaxYoung other new processes were being followed: by
    //   the sweep, within one round of it, at most ceil(E / kSweepEntriesPerCycle) + 1 cycles for E
    //   entries in the proc root (every process and some 60 files): 0.7 s with 500 processes, 2.6 s
    //   with 2000;
    // - its end, or its rename to another name: the next cycle.
    static constexpr std::uint64_t kYoungCycles = 200;  // about a second
    static constexpr std::size_t kMaxYoung = 256;       // bounds the descriptors held for new processes
    static constexpr std::size_t kSweepEntriesPerCycle = 4;

private:
    // A process whose comm is re-read every cycle through a descriptor kept open.
    struct Followed {
        int pid = 0;
        int commFd = -1;
        std::string comm;
        std::uint64_t youngUntil = 0;  // followed up to this cycle whatever its name
    };

    // The pids allocated since the previous cycle: (after, upTo], wrapped around when upTo < after.
    struct PidRange {
        int after = 0;
        int upTo = 0;
        bool Contains(int pid) const;
    };

    bool OpenRoot();
    std::optional<int> ReadLastPid() const;
    void RefreshFollowed(const std::string& name);
    void ProbeNewPids(const std::string& name, PidRange fresh);
    bool Probe(const std::string& name, int pid);
    bool WalkAll(const std::string& name, std::optional<PidRange> fresh);
    void SweepStep(const std::string& name);
    template <typename Visit>
    void ForEachPidEntry(long length, Visit visit) const;
    void Look(const std::string& name, int pid, bool young);
    bool IsFollowed(int pid) const;
    std::optional<int> ReadThreadGroup(int pid) const;

    const std::string root_;
    int rootFd_ = -1;
    int loadavgFd_ = -1;
    std::uint64_t cycle_ = 0;
    std::optional<int> lastPid_;
    std::vector<int> unseenPids_;  // announced pids that had no entry yet
    std::vector<Followed> followed_;
    alignas(8) std::array<char, 8192> entries_{};  // getdents64 records
};

}  // namespace zorvane
