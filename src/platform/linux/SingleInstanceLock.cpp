#include "platform/linux/SingleInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace zorvane {

std::string SingleInstanceLockPath(const std::string& name)
{
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir && *runtimeDir)
        return std::string(runtimeDir) + "/" + name + ".lock";
    return "/tmp/" + name + "-" + std::to_string(geteuid()) + ".lock";
}

InstanceLock AcquireSingleInstanceLock(const std::string& name)
{
    // The fallback lives in a directory every user can write to: a link planted under the name is
    // refused rather than followed, a FIFO cannot block the open, and a file of another user is not
    // trusted (its owner could hold it to keep this program from starting).
    const int fd = open(SingleInstanceLockPath(name).c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return InstanceLock::Unavailable;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
        close(fd);
        return InstanceLock::Unavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
        return InstanceLock::Acquired;  // fd stays open: the lock lasts as long as this process
    const bool heldElsewhere = errno == EWOULDBLOCK;
    close(fd);
    return heldElsewhere ? InstanceLock::HeldByAnotherCopy : InstanceLock::Unavailable;
}

}  // namespace zorvane
