#include "platform/linux/HidrawWriter.h"

#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace zorvane {
namespace {

// Where the writer thread leaves the outcome of one report's write.
struct Ticket {
    std::optional<WriteOutcome> outcome;
};

struct Job {
    Report report;
    std::shared_ptr<Ticket> ticket;
};

WriteOutcome OutcomeOf(ssize_t written, int error, std::size_t size)
{
    if (written == static_cast<ssize_t>(size))
        return WriteOutcome::Written;
    if (written < 0 && (error == EAGAIN || error == EWOULDBLOCK || error == EINTR))
        return WriteOutcome::WouldBlock;
    return WriteOutcome::Failed;
}

}  // namespace

ssize_t SystemWrite(int fd, const void* data, std::size_t size) { return write(fd, data, size); }

struct HidrawWriter::State {
    State(std::shared_ptr<const FileDescriptor> descriptor, WriteCall call)
        : fd(std::move(descriptor))
        , write(std::move(call))
    {
    }

    const std::shared_ptr<const FileDescriptor> fd;
    const WriteCall write;

    std::mutex lock;  // never held across a write
    std::condition_variable changed;
    bool closed = false;
    bool busy = false;        // from a hand-over until its write has returned
    std::optional<Job> job;   // handed over, not yet taken by the thread
};

HidrawWriter::HidrawWriter(std::shared_ptr<const FileDescriptor> fd, WriteCall write)
    : state_(std::make_shared<State>(std::move(fd), std::move(write)))
{
    std::thread([state = state_] { Run(*state); }).detach();
}

HidrawWriter::~HidrawWriter() { Close(); }

WriteOutcome HidrawWriter::Write(const Report& report, std::chrono::steady_clock::time_point deadline)
{
    State& s = *state_;
    std::unique_lock lock(s.lock);
    if (!s.changed.wait_until(lock, deadline, [&s] { return s.closed || !s.busy; }) || s.closed)
        return WriteOutcome::Failed;
    const auto ticket = std::make_shared<Ticket>();
    s.job = Job{report, ticket};
    s.busy = true;
    s.changed.notify_all();
    s.changed.wait_until(lock, deadline, [&s, &ticket] { return s.closed || ticket->outcome; });
    return ticket->outcome.value_or(WriteOutcome::Failed);
}

void HidrawWriter::Close()
{
    {
        std::lock_guard guard(state_->lock);
        state_->closed = true;
    }
    state_->changed.notify_all();
}

void HidrawWriter::Run(State& s)
{
    std::unique_lock lock(s.lock);
    for (;;) {
        s.changed.wait(lock, [&s] { return s.closed || s.job; });
        if (s.closed)
            return;  // a report handed over but not yet taken is not written
        const Job job = *std::exchange(s.job, std::nullopt);
        lock.unlock();
        const ssize_t written = s.write(s.fd->get(), job.report.data(), job.report.size());
        const WriteOutcome outcome = OutcomeOf(written, errno, job.report.size());
        lock.lock();
        job.ticket->outcome = outcome;
        s.busy = false;
        s.changed.notify_all();
    }
}

}  // namespace zorvane
