#pragma once

#include "link/HidBackend.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

namespace zorvane {

// Report I/O on an open hidraw node (or any descriptor that behaves like one). An eventfd plays the
// wake event: Close() signals it and nothing ever consumes it, so every later wait ends at once.
// Both descriptors are closed only by the destructor; shared ownership makes sure no thread is still
// inside Read or Write on them by then.
class HidrawHandle final : public HidHandle {
public:
    // Takes ownership of `fd`, which must be non-blocking. Null (with `fd` closed) when no eventfd
    // can be created.
    static std::shared_ptr<HidrawHandle> Adopt(int fd);

    // Owns both descriptors.
    HidrawHandle(int fd, int wakeFd);
    ~HidrawHandle() override;
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

    const int fd_;
    const int wakeFd_;
    std::atomic<bool> closed_{false};
};

}  // namespace zorvane
