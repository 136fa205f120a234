#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zorvane {

// Runs one function on a thread of its own after a delay, unless it is destroyed first: the
// destructor cancels a call still waiting and waits for one already running.
class DelayedCall {
public:
    DelayedCall(std::chrono::milliseconds delay, std::function<void()> call);
    ~DelayedCall();
    DelayedCall(const DelayedCall&) = delete;
    DelayedCall& operator=(const DelayedCall&) = delete;

private:
    std::mutex lock_;
    std::condition_variable cancel_;
    bool cancelled_ = false;
    std::thread thread_;  // last: starts once everything it uses exists
};

}  // namespace zorvane
