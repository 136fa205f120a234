#pragma once

#include <string>

namespace zorvane {

// The lock names of the frames: the one on this machine's hidraw nodes, and the built-in simulated
// one, a different frame that the demo and `zorvanectl --simulated` talk to.
inline constexpr const char* kHidrawFrameLock = "ZORVANE-FRAME";
inline constexpr const char* kSimulatedFrameLock = "ZORVANE-FRAME-SIMULATED";

// Keeps the window program and zorvanectl off one frame at the same time: whoever holds the lock owns
// the frame, the other one says so and ends instead of interleaving transactions with it. It lives
// beside the single-instance lock (SingleInstanceLockPath, so XDG_RUNTIME_DIR decides where) with the
// same care: a link is not followed, only a regular file of this user counts. The holder writes its
// program name and process id into the file, so the refused side can tell who has the frame.
// The kernel drops the lock when the holder ends, however it ends.
class FrameLock {
public:
    enum class State {
        Acquired,     // this process owns the frame until the lock is destroyed
        Held,         // another process owns it: see holder()
        Unavailable,  // the lock cannot be taken for another reason: run without the guard
    };

    FrameLock(const std::string& name, const std::string& program);
    ~FrameLock();
    FrameLock(const FrameLock&) = delete;
    FrameLock& operator=(const FrameLock&) = delete;

    State state() const { return state_; }
    // What the holder wrote, e.g. "zorvanectl 4711"; empty unless Held, and when the holder has not
    // written yet.
    const std::string& holder() const { return holder_; }
    // The holder's program name: the first word of holder().
    std::string holderProgram() const;

private:
    int fd_ = -1;
    State state_ = State::Unavailable;
    std::string holder_;
};

}  // namespace zorvane
