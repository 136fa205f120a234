#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zorvane {

// A worker's exit flag and its pauses. Raising the flag cuts short the pause under way and every
// later one, so the closing side waits for the step in progress at most, not for a pause as well. A
// wake cuts short the pause under way, or the next one when the worker is not pausing, so work
// handed to the worker is not left waiting for a pause to run out.
class ExitRequest {
public:
    void Raise();
    bool raised() const { return raised_.load(); }
    void Wake();
    // Sleeps for `pause` or until the flag is raised or a wake comes, whichever is first.
    void Pause(std::chrono::milliseconds pause);
    // Sleeps for `pause` or until the flag is raised: a wake does not bring the worker back to a
    // failing frame sooner, but cuts short the pause after this one.
    void BackOff(std::chrono::milliseconds pause);

private:
    // A wake it does not end on is kept for the next sleep that does.
    void Sleep(std::chrono::milliseconds pause, bool endsOnWake);

    std::atomic<bool> raised_{false};
    std::mutex lock_;
    bool woken_ = false;  // guarded by lock_
    std::condition_variable wake_;
};

}  // namespace zorvane
