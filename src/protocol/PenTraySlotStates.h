#pragma once

#include <array>
#include <mutex>
#include <optional>

namespace zorvane {

// The six pen-slot states of the last pen-tray report (slot 1 first), and whether a report came since
// the interface thread last looked. Store() runs on the reader thread for every report and only copies
// six integers under a lock that is never held for longer, so it neither delays the reply matching nor
// hands out a snapshot mixed from two reports.
class PenTraySlotStates {
public:
    using States = std::array<int, 6>;

    void Store(const States& states);
    // The states of the last report when one arrived since the previous call; nothing otherwise.
    std::optional<States> TakeIfChanged();

private:
    std::mutex lock_;
    States states_{};
    bool changed_ = false;  // guarded by lock_, as states_
};

// The process-wide states the pen tray callback fills; created on first use.
PenTraySlotStates& GetPenTraySlotStates();

}  // namespace zorvane
