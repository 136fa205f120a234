#include "signal/ExitRequest.h"

namespace zorvane {

void ExitRequest::Raise()
{
    {
        // Under the lock, so a worker between its check and its wait cannot miss the wake-up.
        std::lock_guard guard(lock_);
        raised_ = true;
    }
    wake_.notify_all();
}

void ExitRequest::Wake()
{
    {
        std::lock_guard guard(lock_);
        woken_ = true;
    }
    wake_.notify_all();
}

void ExitRequest::Pause(std::chrono::milliseconds pause) { Sleep(pause, true); }

void ExitRequest::BackOff(std::chrono::milliseconds pause) { Sleep(pause, false); }

void ExitRequest::Sleep(std::chrono::milliseconds pause, bool endsOnWake)
{
    std::unique_lock guard(lock_);
    wake_.wait_for(guard, pause, [&] { return raised_.load() || (endsOnWake && woken_); });
    if (endsOnWake)
        woken_ = false;
}

}  // namespace zorvane
