#pragma once

#include "link/HidBackend.h"
#include "sim/FrameEndpoint.h"
#include "sim/InputReport.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace zorvane {

// An open interface of the simulated frame. Writes go to the frame's command endpoint (a handle
// without one refuses every write, as the frame's mouse and touch collections do); replies and
// injected reports queue up until they are due and are handed out by Read.
class SimulatedHidHandle : public HidHandle {
public:
    // `endpoint` is null for an interface that takes no command reports.
    explicit SimulatedHidHandle(std::shared_ptr<FrameEndpoint> endpoint);

    bool Write(const Report& report, std::chrono::milliseconds timeout) override;
    ReadResult Read(Report& into, std::optional<std::chrono::milliseconds> timeout) override;
    void Close() override;
    void AwaitClose() override;

    // Queues a report that becomes readable after its delay; false when the handle is closed or dead.
    bool Deliver(const InputReport& input);
    // The device went away: writes are refused from now on, for good, and reads fail once the
    // reports it sent before (replies to a write in flight included) have been read.
    void Unplug();
    bool acceptsCommands() const { return endpoint_ != nullptr; }
    bool closed() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        InputReport input;
        Clock::time_point due;  // the epoch when readable at once
    };

    bool Usable() const;  // lock_ held
    void Enqueue(const InputReport& input);  // lock_ held

    const std::shared_ptr<FrameEndpoint> endpoint_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<Pending> queue_;  // by due time; equal times keep their order
    bool closed_ = false;
    bool unplugged_ = false;
    int writesInFlight_ = 0;
};

}  // namespace zorvane
