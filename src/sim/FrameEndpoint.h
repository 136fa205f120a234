#pragma once

#include "link/Report.h"
#include "sim/Fault.h"
#include "sim/InputReport.h"
#include "sim/SimulatedFrame.h"

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace zorvane {

// The frame's command collection as the wire sees it: a written request reaches the frame, and its
// replies come back after the reply latency, shaped by whatever fault is due. Shared by the backend
// and the handles open on that collection. Thread-safe.
class FrameEndpoint {
public:
    // How many of the most recent requests ReceivedRequests keeps.
    static constexpr std::size_t kReceivedLogSize = 1024;
    // The frame's interrupt endpoint at USB full speed moves one report a millisecond.
    static constexpr std::chrono::milliseconds kDefaultReplyLatency{1};

    explicit FrameEndpoint(std::shared_ptr<SimulatedFrame> frame);

    // The reports that answer one written request; nothing when the write is refused.
    std::optional<std::vector<InputReport>> Exchange(const Report& request);

    // `fault` hits each of the next `requests` requests; queued after faults already waiting.
    void FailNext(const Fault& fault, int requests = 1);
    // `fault` hits every request (after any FailNext ones) until ClearFaults.
    void FailAll(const Fault& fault);
    void ClearFaults();
    // How long the frame takes to answer, per reply report (kDefaultReplyLatency until set); zero
    // answers at once, with every reply queued before the write returns.
    void SetReplyLatency(std::chrono::milliseconds latency);
    // The requests that reached the frame, oldest first (refused writes never do).
    std::vector<Report> ReceivedRequests() const;
    // Called with every request that reaches the frame, on the writing thread, before the frame
    // answers it: lets a test act while a command is on its way.
    void WatchRequests(std::function<void(const Report&)> watcher);

private:
    const std::shared_ptr<SimulatedFrame> frame_;
    mutable std::mutex lock_;
    std::deque<Fault> nextFaults_;
    std::optional<Fault> standingFault_;
    std::chrono::milliseconds latency_ = kDefaultReplyLatency;
    std::deque<Report> received_;
    std::function<void(const Report&)> watcher_;
};

}  // namespace zorvane
