#pragma once

#include "link/Report.h"
#include "platform/linux/FileDescriptor.h"

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

namespace zorvane {

// The call that hands one report to the kernel and may block there: write(2), or a test's stand-in.
// It returns what write(2) returns and leaves errno as write(2) does.
using WriteCall = std::function<ssize_t(int fd, const void* data, std::size_t size)>;
ssize_t SystemWrite(int fd, const void* data, std::size_t size);

enum class WriteOutcome {
    Written,     // the whole report went out
    WouldBlock,  // a descriptor that honours O_NONBLOCK is full: wait until it is writable again
    Failed,      // refused, short, not done in time, or the writer was closed
};

// Performs one handle's writes on a thread of its own, one report at a time, so that a caller can
// give up on a write the kernel holds: a hidraw write is synchronous whatever O_NONBLOCK says and
// may last until the USB core's own 5 s time-out. Each report handed over comes with a ticket of
// its own that only the writer thread fills in, so a write that ends after its caller gave up is
// never taken for a later one's. A report handed over is written even when its caller has gone;
// a caller that finds the writer busy waits, within its own time-out, and hands over nothing if it
// stays busy. The thread shares the writer's state, and with it a reference to the descriptor,
// with its owner: the descriptor is closed only once the owner is gone and no write is inside the
// kernel. The thread is detached, not joined: joining it could hold the last owner (which may be
// the interface thread) until the kernel lets a stuck write go; once closed, the thread ends by
// itself as soon as the write in flight, if any, returns.
class HidrawWriter {
public:
    // Starts the thread; throws std::system_error when it cannot.
    HidrawWriter(std::shared_ptr<const FileDescriptor> fd, WriteCall write);
    // Closes; never waits for a write in flight.
    ~HidrawWriter();
    HidrawWriter(const HidrawWriter&) = delete;
    HidrawWriter& operator=(const HidrawWriter&) = delete;

    // Waits until `deadline` for the writer to be free, hands `report` over and waits until
    // `deadline` for its write to return.
    WriteOutcome Write(const Report& report, std::chrono::steady_clock::time_point deadline);
    // Returns every waiting Write (Failed) at once; nothing more is written after the write in flight.
    void Close();

private:
    struct State;
    static void Run(State& state);

    const std::shared_ptr<State> state_;
};

}  // namespace zorvane
