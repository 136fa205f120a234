#pragma once

#include "link/HidBackend.h"
#include "platform/linux/FileDescriptor.h"
#include "platform/linux/HidrawWriter.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

namespace zorvane {

// Report I/O on an open hidraw node (or any descriptor that behaves like one). Reads run on the
// caller's thread. Writes go through a HidrawWriter, because a hidraw write stays in the kernel
// whatever O_NONBLOCK says, and a frame that stops taking reports must cost a caller its time-out,
// not the USB core's. An eventfd plays the wake event: Close() signals it and nothing ever consumes
// it, so every later wait ends at once; Close() also returns every Write waiting on the writer. The
// node's descriptor is shared by the handle and its writer thread: shared ownership of the handle
// makes sure no thread is still inside Read when the handle goes, and the writer's reference keeps
// the descriptor open until no write is inside the kernel. The eventfd goes with the handle.
class HidrawHandle final : public HidHandle {
public:
    // Takes ownership of `fd`, which must be non-blocking; `write` performs each write on the writer
    // thread. Null (with `fd` closed) when no eventfd or writer thread can be created.
    static std::shared_ptr<HidrawHandle> Adopt(int fd, WriteCall write = SystemWrite);

    // Owns both descriptors.
    HidrawHandle(int fd, int wakeFd, WriteCall write);
    HidrawHandle(const HidrawHandle&) = delete;
    HidrawHandle& operator=(const HidrawHandle&) = delete;

    bool Write(const Report& report, std::chrono::milliseconds timeout) override;
    ReadResult Read(Report& into, std::optional<std::chrono::milliseconds> timeout) override;
    void Close() override;
    void AwaitClose() override;

private:
    enum class Readiness { Ready, Woken, TimedOut, Failed };

    // Waits until `fd_` reports `events`, the handle is closed, or the deadline passes.
    Readiness WaitFor(short events, std::optional<std::chrono::steady_clock::time_point> deadline) const;

    const std::shared_ptr<const FileDescriptor> fd_;
    const FileDescriptor wakeFd_;
    std::atomic<bool> closed_{false};
    HidrawWriter writer_;
};

}  // namespace zorvane
