#include "sim/SimulatedHidHandle.h"

#include <algorithm>
#include <utility>

namespace zorvane {

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
    }
    const auto replies = endpoint_->Exchange(report);
    if (!replies)
        return false;
    {
        std::lock_guard guard(lock_);
        for (const InputReport& reply : *replies)
            Enqueue(reply);
    }
    changed_.notify_all();
    return true;
}

ReadResult SimulatedHidHandle::Read(Report& into, std::optional<std::chrono::milliseconds> timeout)
{
    const auto deadline = timeout ? Clock::now() + *timeout : Clock::time_point::max();
    std::unique_lock lock(lock_);
    for (;;) {
        if (closed_)
            return {ReadOutcome::Woken};
        if (unplugged_)
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
        if (wakeAt == Clock::time_point::max())
            changed_.wait(lock);
        else
            changed_.wait_until(lock, wakeAt);
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
        queue_.clear();
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
