#include "signal/AcquisitionRequests.h"

namespace zorvane {

void AcquisitionRequests::Start()
{
    scanOffRequested_ = false;
    scanOnRequested_ = true;
    acquiring_ = true;
    worker_.Wake();
}

void AcquisitionRequests::Stop()
{
    acquiring_ = false;
    scanOnRequested_ = false;
    scanOffRequested_ = true;
    worker_.Wake();
}

void AcquisitionRequests::ResumeScanMode()
{
    // A stop raised right after the check still wins: scan mode off goes out after this scan mode on.
    if (acquiring_)
        scanOnRequested_ = true;
}

void AcquisitionRequests::RequestInitialise()
{
    initialiseRequested_ = true;
    worker_.Wake();
}

void AcquisitionRequests::RequestLed(bool on)
{
    // The state first: the worker reads it only after taking the request.
    ledOn_ = on;
    ledRequested_ = true;
    worker_.Wake();
}

void AcquisitionRequests::AwaitSent()
{
    std::unique_lock lock(sendLock_);
    // A round under way may have taken its requests before the caller raised them: the round that
    // counts is the next one to begin.
    const std::uint64_t begun = sendsBegun_;
    worker_.Wake();
    sent_.wait(lock, [&] { return sendsDone_ > begun; });
}

void AcquisitionRequests::BeginSending()
{
    std::lock_guard guard(sendLock_);
    ++sendsBegun_;
}

void AcquisitionRequests::EndSending()
{
    {
        std::lock_guard guard(sendLock_);
        ++sendsDone_;
    }
    sent_.notify_all();
}

std::optional<std::uint8_t> AcquisitionRequests::TakeLed()
{
    if (!ledRequested_.exchange(false))
        return std::nullopt;
    return static_cast<std::uint8_t>(ledOn_.load() ? 1 : 0);
}

}  // namespace zorvane
