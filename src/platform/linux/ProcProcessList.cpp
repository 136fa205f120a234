#include "platform/linux/ProcProcessList.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <utility>

// Reading every process's comm each 5 ms cycle costs 4-5 us per process (open, read, close): nearly
// half a core at 500 processes. This list reads almost nothing in a quiet cycle and still sees a new
// process under the watched name in the cycle after it appears:
//
// - New processes. The last field of <proc>/loadavg is the pid allocated last. While it stands
//   still no process (nor thread) was created; when it moves, the new pids are exactly
//   (previous, current] and only those are probed. One pread of loadavg per cycle replaces the walk.
//   A range that wrapped around pid_max, or one too wide to probe number by number, falls back to
//   one full walk. Probing by number also meets thread ids (/proc/<tid> answers though it is not
//   listed); status's Tgid sorts them out. fork allocates the pid a moment before the child becomes
//   visible, so a pid without an entry gets one more look in the next cycle.
// - Renames. A process can take the watched name after it was first seen: a fork shows the
//   parent's name until exec, and Wine renames its process with prctl once it has started. So every
//   new process is followed for about a second: its comm stays open and is re-read with pread at
//   offset 0, which regenerates the content (it follows exec and prctl) for 0.5 us instead of the
//   4 us of reopening it. Later renames are caught by a sweep that reads a few listed entries every
//   cycle, going round 500 processes in under a second (the header states the bounds).
// - Ends. A process found under the watched name stays followed. The open comm belongs to that
//   process, not to its pid number: its read fails once the process has been reaped, even if the
//   number is reused, so the end is seen in the next cycle.
//
// loadavg counts the pids of the reader's pid namespace: were procfs mounted for another namespace,
// new processes would reach the list through the sweep alone.

namespace zorvane {
namespace {

constexpr int kMaxProbedPids = 128;  // a wider jump costs more to probe than one walk
// A directory record takes 32 bytes for a name of up to 12 bytes (every pid, most of procfs' files).
constexpr std::size_t kSweepBytes = ProcProcessList::kSweepEntriesPerCycle * 32;

std::optional<int> ParseNumber(std::string_view text)
{
    // At most nine digits: every pid fits, and so does the number without overflow.
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::optional<int> ParsePid(std::string_view name)
{
    if (name.empty() || name.front() == '0')
        return std::nullopt;
    return ParseNumber(name);
}

std::string_view TrimRight(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Reads a small procfs file from its start; empty when it cannot be read.
template <std::size_t Size>
std::string_view ReadAtStart(int fd, std::array<char, Size>& buffer)
{
    const ssize_t length = pread(fd, buffer.data(), buffer.size(), 0);
    return length > 0 ? std::string_view(buffer.data(), static_cast<std::size_t>(length)) : std::string_view();
}

// A procfs comm reads as the name and one newline; nothing at all means the process is gone.
std::optional<std::string> ReadComm(int fd)
{
    std::array<char, 64> buffer;
    std::string_view text = ReadAtStart(fd, buffer);
    if (text.empty())
        return std::nullopt;
    if (text.back() == '\n')
        text.remove_suffix(1);
    return std::string(text);
}

int OpenPidFile(int rootFd, int pid, const char* file)
{
    std::array<char, 32> path;
    std::snprintf(path.data(), path.size(), "%d/%s", pid, file);
    return openat(rootFd, path.data(), O_RDONLY | O_CLOEXEC);
}

}  // namespace

bool ProcProcessList::PidRange::Contains(int pid) const
{
    return after <= upTo ? pid > after && pid <= upTo : pid > after || pid <= upTo;
}

ProcProcessList::ProcProcessList(std::string procRoot) : root_(std::move(procRoot))
{
    followed_.reserve(kMaxYoung);
    unseenPids_.reserve(kMaxProbedPids);
}

ProcProcessList::~ProcProcessList()
{
    for (const Followed& process : followed_)
        close(process.commFd);
    if (loadavgFd_ >= 0)
        close(loadavgFd_);
    if (rootFd_ >= 0)
        close(rootFd_);
}

std::optional<bool> ProcProcessList::IsRunning(const std::string& name)
{
    if (!OpenRoot())
        return std::nullopt;
    ++cycle_;
    RefreshFollowed(name);
    const std::optional<int> lastPid = ReadLastPid();
    std::optional<PidRange> fresh;
    if (lastPid && lastPid_)
        fresh = PidRange{*lastPid_, *lastPid};
    if (fresh && fresh->after <= fresh->upTo && fresh->upTo - fresh->after <= kMaxProbedPids) {
        ProbeNewPids(name, *fresh);
        SweepStep(name);
    } else if (!WalkAll(name, fresh)) {
        return std::nullopt;  // lastPid_ stays, so the next cycle looks at these new pids as well
    }
    lastPid_ = lastPid;
    return std::any_of(followed_.begin(), followed_.end(), [&](const Followed& process) { return process.comm == name; });
}

bool ProcProcessList::OpenRoot()
{
    if (rootFd_ >= 0)
        return true;
    rootFd_ = open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd_ < 0)
        return false;
    loadavgFd_ = openat(rootFd_, "loadavg", O_RDONLY | O_CLOEXEC);  // without it every cycle walks
    return true;
}

std::optional<int> ProcProcessList::ReadLastPid() const
{
    // "0.03 0.06 0.01 1/120 5097": the last field is the pid allocated last.
    std::array<char, 128> buffer;
    const std::string_view text = TrimRight(ReadAtStart(loadavgFd_, buffer));
    const std::size_t space = text.find_last_of(' ');
    if (space == std::string_view::npos)
        return std::nullopt;
    return ParseNumber(text.substr(space + 1));
}

void ProcProcessList::RefreshFollowed(const std::string& name)
{
    for (std::size_t i = 0; i < followed_.size();) {
        Followed& process = followed_[i];
        std::optional<std::string> comm = ReadComm(process.commFd);
        if (comm && (*comm == name || cycle_ <= process.youngUntil)) {
            process.comm = std::move(*comm);
            ++i;
            continue;
        }
        close(process.commFd);
        process = std::move(followed_.back());
        followed_.pop_back();
    }
}

void ProcProcessList::ProbeNewPids(const std::string& name, PidRange fresh)
{
    for (const int pid : unseenPids_)
        Probe(name, pid);
    unseenPids_.clear();
    for (int pid = fresh.after + 1; pid <= fresh.upTo; ++pid)
        if (!Probe(name, pid))
            unseenPids_.push_back(pid);
}

// Follows `pid` as a new process when it is one; false when it has no entry.
bool ProcProcessList::Probe(const std::string& name, int pid)
{
    if (IsFollowed(pid))
        return true;
    const std::optional<int> threadGroup = ReadThreadGroup(pid);
    if (!threadGroup)
        return false;
    if (*threadGroup == pid)
        Look(name, pid, true);
    return true;
}

bool ProcProcessList::WalkAll(const std::string& name, std::optional<PidRange> fresh)
{
    unseenPids_.clear();  // the walk sees whatever has appeared by now
    if (lseek(rootFd_, 0, SEEK_SET) < 0)
        return false;
    for (;;) {
        const long length = getdents64(rootFd_, entries_.data(), entries_.size());
        if (length < 0)
            return false;
        if (length == 0)
            break;
        ForEachPidEntry(length, [&](int pid) { Look(name, pid, fresh && fresh->Contains(pid)); });
    }
    lseek(rootFd_, 0, SEEK_SET);  // the sweep starts over
    return true;
}

void ProcProcessList::SweepStep(const std::string& name)
{
    long length = getdents64(rootFd_, entries_.data(), kSweepBytes);
    if (length < 0 && errno == EINVAL)  // one entry longer than a short read
        length = getdents64(rootFd_, entries_.data(), entries_.size());
    if (length <= 0) {
        lseek(rootFd_, 0, SEEK_SET);  // round complete (or unreadable): start over next cycle
        return;
    }
    ForEachPidEntry(length, [&](int pid) { Look(name, pid, false); });
}

template <typename Visit>
void ProcProcessList::ForEachPidEntry(long length, Visit visit) const
{
    const auto size = static_cast<std::size_t>(length);
    constexpr std::size_t nameOffset = offsetof(dirent64, d_name);
    for (std::size_t offset = 0; offset + nameOffset <= size;) {
        unsigned short recordLength = 0;
        std::memcpy(&recordLength, entries_.data() + offset + offsetof(dirent64, d_reclen), sizeof recordLength);
        if (recordLength <= nameOffset || offset + recordLength > size)
            return;
        const char* entryName = entries_.data() + offset + nameOffset;
        if (const auto pid = ParsePid(std::string_view(entryName, strnlen(entryName, recordLength - nameOffset))))
            visit(*pid);
        offset += recordLength;
    }
}

// Reads the comm of `pid` and follows the process when it bears `name` or is `young`.
void ProcProcessList::Look(const std::string& name, int pid, bool young)
{
    if (IsFollowed(pid))
        return;
    const int fd = OpenPidFile(rootFd_, pid, "comm");
    if (fd < 0)
        return;
    std::optional<std::string> comm = ReadComm(fd);
    if (comm && (*comm == name || (young && followed_.size() < kMaxYoung))) {
        followed_.push_back({pid, fd, std::move(*comm), young ? cycle_ + kYoungCycles : 0});
        return;
    }
    close(fd);
}

bool ProcProcessList::IsFollowed(int pid) const
{
    return std::any_of(followed_.begin(), followed_.end(), [pid](const Followed& process) { return process.pid == pid; });
}

std::optional<int> ProcProcessList::ReadThreadGroup(int pid) const
{
    const int fd = OpenPidFile(rootFd_, pid, "status");
    if (fd < 0)
        return std::nullopt;
    std::array<char, 512> buffer;  // Tgid is the fourth line, after Name, Umask and State
    const std::string_view text = ReadAtStart(fd, buffer);
    close(fd);
    constexpr std::string_view kKey = "\nTgid:";
    const std::size_t key = text.find(kKey);
    if (key == std::string_view::npos)
        return std::nullopt;
    std::string_view value = text.substr(key + kKey.size());
    value.remove_prefix(std::min(value.find_first_not_of(" \t"), value.size()));
    return ParseNumber(value.substr(0, value.find('\n')));
}

}  // namespace zorvane
