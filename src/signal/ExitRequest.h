#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zorvane {

// A worker's exit flag. Raising it also cuts short the worker's pauses, so the closing side waits
// for the transaction in progress at most, not for an idle or failure pause as well.
class ExitRequest {
public:
    void Raise();
    bool raised() const { return raised_.load(); }
    // Sleeps for `pause` or until the flag is raised, whichever comes first.
    void Pause(std::chrono::milliseconds pause);

private:
    std::atomic<bool> raised_{false};
    std::mutex lock_;
    std::condition_variable wake_;
};

}  // namespace zorvane
