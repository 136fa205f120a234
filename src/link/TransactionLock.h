#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zorvane {

// A mutex that can be waited for with a time-out. Built on a condition variable rather than
// std::timed_mutex, whose steady-clock wait ThreadSanitizer cannot follow with this toolchain.
class TransactionLock {
public:
    bool try_lock_for(std::chrono::milliseconds timeout)
    {
        std::unique_lock guard(lock_);
        if (!released_.wait_for(guard, timeout, [this] { return !held_; }))
            return false;
        held_ = true;
        return true;
    }

    void unlock()
    {
        {
            std::lock_guard guard(lock_);
            held_ = false;
        }
        released_.notify_one();
    }

private:
    std::mutex lock_;
    std::condition_variable released_;
    bool held_ = false;
};

}  // namespace zorvane
