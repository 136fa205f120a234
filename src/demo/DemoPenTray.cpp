#include "demo/DemoPenTray.h"

namespace zorvane {

DemoPenTray::DemoPenTray(std::shared_ptr<SimulatedHidBackend> frame, std::chrono::milliseconds period)
    : frame_(std::move(frame))
    , period_(period)
    , thread_([this](std::stop_token stop) { Run(std::move(stop)); })
{
}

DemoPenTray::~DemoPenTray() = default;  // the thread is asked to stop and joined

std::array<std::uint8_t, 6> DemoPenTray::SlotsAfter(int change)
{
    std::array<std::uint8_t, 6> slots;
    slots.fill(kPenInSlot);
    if (change % 2 == 0)
        slots[static_cast<std::size_t>(change / 2 % 6)] = kSlotEmpty;
    return slots;
}

void DemoPenTray::Run(std::stop_token stop)
{
    std::unique_lock guard(lock_);
    for (int change = 0;; change = (change + 1) % 12) {
        // Nothing but a stop request ends the wait early.
        wake_.wait_for(guard, stop, period_, [] { return false; });
        if (stop.stop_requested())
            return;
        frame_->SendPenTray(SlotsAfter(change));
    }
}

}  // namespace zorvane
