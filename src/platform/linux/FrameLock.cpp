#include "platform/linux/FrameLock.h"

#include "platform/linux/SingleInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace zorvane {
namespace {

constexpr std::size_t kHolderMax = 128;

bool OwnRegularFile(int fd)
{
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid();
}

std::string ReadHolder(int fd)
{
    std::array<char, kHolderMax> text{};
    const ssize_t length = pread(fd, text.data(), text.size(), 0);
    std::string holder(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
    while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\0'))
        holder.pop_back();
    return holder;
}

void WriteHolder(int fd, const std::string& program)
{
    const std::string holder = program + " " + std::to_string(getpid()) + "\n";
    // Best effort: a refused side that reads nothing still knows the frame is taken.
    if (ftruncate(fd, 0) != 0)
        return;
    [[maybe_unused]] const ssize_t written = pwrite(fd, holder.data(), holder.size(), 0);
}

}  // namespace

FrameLock::FrameLock(const std::string& name, const std::string& program)
{
    const int fd = open(SingleInstanceLockPath(name).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    if (!OwnRegularFile(fd)) {
        close(fd);
        return;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        fd_ = fd;
        state_ = State::Acquired;
        WriteHolder(fd_, program);
        return;
    }
    if (errno == EWOULDBLOCK) {
        state_ = State::Held;
        holder_ = ReadHolder(fd);
    }
    close(fd);
}

FrameLock::~FrameLock()
{
    if (fd_ >= 0)
        close(fd_);
}

std::string FrameLock::holderProgram() const { return holder_.substr(0, holder_.find(' ')); }

}  // namespace zorvane
