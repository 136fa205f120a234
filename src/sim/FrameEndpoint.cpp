#include "sim/FrameEndpoint.h"

#include <utility>

namespace zorvane {

FrameEndpoint::FrameEndpoint(std::shared_ptr<SimulatedFrame> frame)
    : frame_(std::move(frame))
{
}

std::optional<std::vector<InputReport>> FrameEndpoint::Exchange(const Report& request)
{
    std::optional<Fault> fault;
    std::chrono::milliseconds latency{0};
    std::function<void(const Report&)> watcher;
    {
        std::lock_guard guard(lock_);
        if (!nextFaults_.empty()) {
            fault = nextFaults_.front();
            nextFaults_.pop_front();
        } else {
            fault = standingFault_;
        }
        if (fault && fault->kind == Fault::Kind::RefuseWrite)
            return std::nullopt;
        received_.push_back(request);
        if (received_.size() > kReceivedLogSize)
            received_.pop_front();
        latency = latency_;
        watcher = watcher_;
    }
    if (watcher)
        watcher(request);
    // Each further reply report of one answer takes the endpoint one more interval.
    std::vector<InputReport> replies;
    auto due = latency;
    for (const Report& reply : frame_->Answer(request)) {
        replies.push_back({reply, kReportSize, due});
        due += latency;
    }
    if (fault)
        return fault->Apply(request, std::move(replies));
    return replies;
}

void FrameEndpoint::FailNext(const Fault& fault, int requests)
{
    std::lock_guard guard(lock_);
    for (int i = 0; i < requests; ++i)
        nextFaults_.push_back(fault);
}

void FrameEndpoint::FailAll(const Fault& fault)
{
    std::lock_guard guard(lock_);
    standingFault_ = fault;
}

void FrameEndpoint::ClearFaults()
{
    std::lock_guard guard(lock_);
    nextFaults_.clear();
    standingFault_.reset();
}

void FrameEndpoint::SetReplyLatency(std::chrono::milliseconds latency)
{
    std::lock_guard guard(lock_);
    latency_ = latency;
}

void FrameEndpoint::WatchRequests(std::function<void(const Report&)> watcher)
{
    std::lock_guard guard(lock_);
    watcher_ = std::move(watcher);
}

std::vector<Report> FrameEndpoint::ReceivedRequests() const
{
    std::lock_guard guard(lock_);
    return {received_.begin(), received_.end()};
}

}  // namespace zorvane
