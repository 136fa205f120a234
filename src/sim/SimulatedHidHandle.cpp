#include "sim/SimulatedHidHandle.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace zorvane {
namespace {

// A timed wait here wakes some 100 us late (timer slack and scheduling), which would make every
// reply latency a tenth longer than asked at 1 ms. The last stretch before a reply is due is
// therefore spent yielding instead of sleeping.
constexpr auto kWakeMargin = std::chrono::microseconds(150);

}  // namespace

SimulatedHidHandle::SimulatedHidHandle(std::shared_ptr<FrameEndpoint> endpoint)
    : endpoint_(std::move(endpoint))
{
}

bool SimulatedHidHandle::Write(const Report& report, std::chrono::milliseconds)
{
    if (!endpoint_)
        return false;
    {
        std::lock_guard guard(lock_);
        if (!Usable())
            return false;
        ++writesInFlight_;
    }
    // The request can make the frame restart, which unplugs this handle before the replies it sent
    // first are queued; a read does not fail while they are on their way.
    const auto replies = endpoint_->Exchange(report);
    {
        std::lock_guard guard(lock_);
        --writesInFlight_;
        if (replies) {
            for (const InputReport& reply : *replies)
                Enqueue(reply);
        }
    }
    changed_.notify_all();
    return replies.has_value();
}

ReadResult SimulatedHidHandle::Read(Report& into, std::optional<std::chrono::milliseconds> timeout)
{
    const auto deadline = timeout ? Clock::now() + *timeout : Clock::time_point::max();
    std::unique_lock lock(lock_);
    for (;;) {
        if (closed_)
            return {ReadOutcome::Woken};
        // What the frame sent before it went away is still read; only then does the read fail.
        if (unplugged_ && queue_.empty() && writesInFlight_ == 0)
            return {ReadOutcome::Failed};
        auto wakeAt = deadline;
        if (!queue_.empty()) {
            const Pending& next = queue_.front();
            if (next.due == Clock::time_point{} || next.due <= Clock::now()) {
                const std::size_t length = std::min(next.input.length, kReportSize);
                std::copy_n(next.input.bytes.begin(), length, into.begin());
                const ReadResult result{ReadOutcome::Data, length};
                queue_.pop_front();
                return result;
            }
            wakeAt = std::min(wakeAt, next.due);
        }
        if (timeout && Clock::now() >= deadline)
            return {ReadOutcome::TimedOut};
        if (wakeAt == Clock::time_point::max()) {
            changed_.wait(lock);
        } else if (wakeAt - Clock::now() > kWakeMargin) {
            changed_.wait_until(lock, wakeAt - kWakeMargin);
        } else {
            lock.unlock();
            std::this_thread::yield();
            lock.lock();
        }
    }
}

void SimulatedHidHandle::Close()
{
    {
        std::lock_guard guard(lock_);
        closed_ = true;
    }
    changed_.notify_all();
}

void SimulatedHidHandle::AwaitClose()
{
    std::unique_lock lock(lock_);
    changed_.wait(lock, [this] { return closed_; });
}

bool SimulatedHidHandle::Deliver(const InputReport& input)
{
    {
        std::lock_guard guard(lock_);
        if (!Usable())
            return false;
        Enqueue(input);
    }
    changed_.notify_all();
    return true;
}

void SimulatedHidHandle::Unplug()
{
    {
        std::lock_guard guard(lock_);
        unplugged_ = true;
    }
    changed_.notify_all();
}

bool SimulatedHidHandle::closed() const
{
    std::lock_guard guard(lock_);
    return closed_;
}

bool SimulatedHidHandle::Usable() const { return !closed_ && !unplugged_; }

void SimulatedHidHandle::Enqueue(const InputReport& input)
{
    const Clock::time_point due =
        input.delay > std::chrono::milliseconds::zero() ? Clock::now() + input.delay : Clock::time_point{};
    const auto later = std::upper_bound(queue_.begin(), queue_.end(), due,
                                        [](Clock::time_point at, const Pending& pending) { return at < pending.due; });
    queue_.insert(later, Pending{input, due});
}

}  // namespace zorvane
