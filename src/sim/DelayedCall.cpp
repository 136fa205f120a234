#include "sim/DelayedCall.h"

#include <utility>

namespace zorvane {

DelayedCall::DelayedCall(std::chrono::milliseconds delay, std::function<void()> call)
    : thread_([this, delay, call = std::move(call)] {
        {
            std::unique_lock lock(lock_);
            if (cancel_.wait_for(lock, delay, [this] { return cancelled_; }))
                return;
        }
        call();
    })
{
}

DelayedCall::~DelayedCall()
{
    {
        std::lock_guard guard(lock_);
        cancelled_ = true;
    }
    cancel_.notify_all();
    thread_.join();
}

}  // namespace zorvane
