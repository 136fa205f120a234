#include "PenTraySlotStates.h"

namespace zorvane {

void PenTraySlotStates::Store(const States& states)
{
    std::lock_guard guard(lock_);
    states_ = states;
    changed_ = true;
}

std::optional<PenTraySlotStates::States> PenTraySlotStates::TakeIfChanged()
{
    std::lock_guard guard(lock_);
    if (!changed_)
        return std::nullopt;
    changed_ = false;
    return states_;
}

PenTraySlotStates& GetPenTraySlotStates()
{
    static PenTraySlotStates states;
    return states;
}

}  // namespace zorvane
