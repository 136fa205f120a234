#pragma once

#include "signal/ExitRequest.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace zorvane {

// How the interface thread steers a chart's device traffic without touching the device: it raises
// one-shot requests that the chart worker takes at the start of its next cycle. Each request is
// taken at most once; one raised while the worker is inside a cycle is taken in the next. Every
// request wakes the worker from a pause.
class AcquisitionRequests {
public:
    explicit AcquisitionRequests(ExitRequest& worker) : worker_(worker) {}

    // Interface side.
    // Acquire from the next cycle on, sending scan mode on first. Replaces a stop not yet sent, so
    // a quick stop + start never leaves the frame out of scan mode while reading.
    void Start();
    // Stop reading (the series keep their last data) and send scan mode off, then LED on. Replaces
    // a start not yet sent.
    void Stop();
    void RequestInitialise();
    // A chart still acquiring after a failed read sends scan mode on again before it reads: the frame
    // may have restarted meanwhile, and a restart switches scan mode off. Nothing once stopped.
    void ResumeScanMode();
    void RequestLed(bool on);
    bool acquiring() const { return acquiring_.load(); }
    // Returns once the worker has sent every request raised before the call: at most the rest of its
    // cycle and one more round of requests. Needs the worker to be running.
    void AwaitSent();

    // Worker side: each returns whether the request was raised and clears it.
    bool TakeScanOn() { return scanOnRequested_.exchange(false); }
    // A start is waiting for its scan mode on: the frame may not be in scan mode.
    bool scanOnPending() const { return scanOnRequested_.load(); }
    bool TakeScanOff() { return scanOffRequested_.exchange(false); }
    bool TakeInitialise() { return initialiseRequested_.exchange(false); }
    // The LED state to send, if one was requested.
    std::optional<std::uint8_t> TakeLed();
    // Around each round of taking and sending the requests.
    void BeginSending();
    void EndSending();

private:
    ExitRequest& worker_;
    std::atomic<bool> acquiring_{false};
    std::atomic<bool> scanOnRequested_{false};
    std::atomic<bool> scanOffRequested_{false};
    std::atomic<bool> initialiseRequested_{false};
    std::atomic<bool> ledRequested_{false};
    std::atomic<bool> ledOn_{false};

    std::mutex sendLock_;
    std::condition_variable sent_;
    std::uint64_t sendsBegun_ = 0;  // guarded by sendLock_
    std::uint64_t sendsDone_ = 0;   // guarded by sendLock_
};

}  // namespace zorvane
