#include "platform/linux/HidrawHandle.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>
#include <utility>

namespace zorvane {
namespace {

using Clock = std::chrono::steady_clock;

std::optional<Clock::time_point> DeadlineAfter(std::optional<std::chrono::milliseconds> timeout)
{
    if (!timeout)
        return std::nullopt;
    return Clock::now() + *timeout;
}

// poll()'s time-out argument: -1 waits forever; a partial millisecond is rounded up so that a wait
// never ends before its deadline.
int PollTimeoutMs(std::optional<Clock::time_point> deadline)
{
    if (!deadline)
        return -1;
    const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(remaining.count(), 0));
}

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

}  // namespace

std::shared_ptr<HidrawHandle> HidrawHandle::Adopt(int fd, WriteCall write)
{
    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        close(fd);
        return nullptr;
    }
    try {
        return std::make_shared<HidrawHandle>(fd, wakeFd, std::move(write));
    } catch (const std::system_error&) {
        return nullptr;  // no writer thread; the members already made have closed both descriptors
    }
}

HidrawHandle::HidrawHandle(int fd, int wakeFd, WriteCall write)
    : fd_(std::make_shared<const FileDescriptor>(fd))
    , wakeFd_(wakeFd)
    , writer_(fd_, std::move(write))
{
}

HidrawHandle::Readiness HidrawHandle::WaitFor(short events, std::optional<Clock::time_point> deadline) const
{
    for (;;) {
        pollfd fds[] = {{wakeFd_.get(), POLLIN, 0}, {fd_->get(), events, 0}};
        const int ready = poll(fds, 2, PollTimeoutMs(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return Readiness::Failed;
        if (ready == 0)
            return Readiness::TimedOut;
        if (fds[0].revents != 0)
            return Readiness::Woken;
        // An unplugged node reports POLLERR | POLLHUP; what it may still hold is of no use.
        if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL))
            return Readiness::Failed;
        if (fds[1].revents & events)
            return Readiness::Ready;
    }
}

ReadResult HidrawHandle::Read(Report& into, std::optional<std::chrono::milliseconds> timeout)
{
    const auto deadline = DeadlineAfter(timeout);
    for (;;) {
        switch (WaitFor(POLLIN, deadline)) {
        case Readiness::Woken:
            return {ReadOutcome::Woken, 0};
        case Readiness::TimedOut:
            return {ReadOutcome::TimedOut, 0};
        case Readiness::Failed:
            return {ReadOutcome::Failed, 0};
        case Readiness::Ready:
            break;
        }
        const ssize_t length = read(fd_->get(), into.data(), into.size());
        if (length > 0)
            return {ReadOutcome::Data, static_cast<std::size_t>(length)};
        // 0 is end of file: the other side is gone. ENODEV or EIO after an unplug end the same way.
        if (length == 0 || !WouldBlock(errno))
            return {ReadOutcome::Failed, 0};
    }
}

bool HidrawHandle::Write(const Report& report, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        // A hidraw node always polls writable; the wait matters for descriptors that honour O_NONBLOCK.
        if (WaitFor(POLLOUT, deadline) != Readiness::Ready)
            return false;
        switch (writer_.Write(report, deadline)) {
        case WriteOutcome::Written:
            return true;
        case WriteOutcome::Failed:
            return false;
        case WriteOutcome::WouldBlock:
            break;
        }
    }
}

void HidrawHandle::Close()
{
    if (closed_.exchange(true))
        return;
    writer_.Close();
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFd_.get(), &one, sizeof one);
}

void HidrawHandle::AwaitClose()
{
    pollfd wake{wakeFd_.get(), POLLIN, 0};
    while (!closed_.load())
        poll(&wake, 1, -1);
}

}  // namespace zorvane
