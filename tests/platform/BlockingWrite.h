#pragma once

// What the platform tests use to play a frame that stops taking reports: a write that blocks although
// poll() says writable, as a hidraw write does while the USB core waits for the frame.

#include "platform/linux/HidrawWriter.h"

#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>

namespace zorvane::testing {

// Long enough for anything that is going to happen; only a broken handle waits this long.
inline constexpr std::chrono::milliseconds kGenerous{5000};
// A time-out no test reaches: a call given it ends only because something else ends it.
inline constexpr std::chrono::milliseconds kLongerThanTheTest = std::chrono::hours(1);

// Runs `call` in a thread of its own. The thread is detached, so that a call a broken handle never
// ends fails its test instead of hanging the suite.
template <typename Call>
std::future<std::invoke_result_t<Call>> InBackground(Call call)
{
    std::packaged_task<std::invoke_result_t<Call>()> task(std::move(call));
    auto result = task.get_future();
    std::thread(std::move(task)).detach();
    return result;
}

// The write call of a handle whose writes stay in the kernel until the test lets them go, one by one
// or all at once; then they really go out on the socket. Shared with the calls it hands out, so a
// write let go as a test ends can still finish after it.
class WriteLatch : public std::enable_shared_from_this<WriteLatch> {
public:
    WriteCall Call()
    {
        return [self = shared_from_this()](int fd, const void* data, std::size_t size) {
            self->Pass();
            // MSG_NOSIGNAL: a write let go after the test hung up its end must not raise SIGPIPE.
            return send(fd, data, size, MSG_NOSIGNAL);
        };
    }

    // Lets `count` more writes through.
    void Allow(int count)
    {
        {
            std::lock_guard guard(lock_);
            allowed_ += count;
        }
        changed_.notify_all();
    }

    // Lets every write through from now on.
    void Open()
    {
        {
            std::lock_guard guard(lock_);
            open_ = true;
        }
        changed_.notify_all();
    }

    // Whether `count` writes have reached the latch; waits generously for them.
    bool AwaitEntered(int count)
    {
        std::unique_lock lock(lock_);
        return changed_.wait_for(lock, kGenerous, [this, count] { return entered_ >= count; });
    }

private:
    void Pass()
    {
        std::unique_lock lock(lock_);
        ++entered_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_ || passed_ < allowed_; });
        ++passed_;
    }

    std::mutex lock_;
    std::condition_variable changed_;
    int entered_ = 0;
    int allowed_ = 0;
    int passed_ = 0;
    bool open_ = false;
};

}  // namespace zorvane::testing
