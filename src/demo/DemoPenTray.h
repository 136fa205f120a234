#pragma once

#include "sim/SimulatedHidBackend.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

namespace zorvane {

// Someone at the simulated frame's pen tray, so that the demo's pen tray page has something to show:
// every period one pen is lifted from its slot and put back the period after, slot by slot. Each change
// is the frame's pen-tray report; while no interface of the frame is open it goes nowhere. The demo
// owns it on a thread of its own, which the destructor stops without waiting out the period.
class DemoPenTray {
public:
    static constexpr std::chrono::milliseconds kDefaultPeriod{2500};
    // What the demo's tray reports per slot.
    static constexpr std::uint8_t kPenInSlot = 0;
    static constexpr std::uint8_t kSlotEmpty = 1;

    explicit DemoPenTray(std::shared_ptr<SimulatedHidBackend> frame, std::chrono::milliseconds period = kDefaultPeriod);
    ~DemoPenTray();
    DemoPenTray(const DemoPenTray&) = delete;
    DemoPenTray& operator=(const DemoPenTray&) = delete;

    // The tray after `change` changes: even ones lift pen change / 2 (of six, round and round), odd
    // ones put it back.
    static std::array<std::uint8_t, 6> SlotsAfter(int change);

private:
    void Run(std::stop_token stop);

    const std::shared_ptr<SimulatedHidBackend> frame_;
    const std::chrono::milliseconds period_;
    std::mutex lock_;
    std::condition_variable_any wake_;
    std::jthread thread_;  // last: starts once everything it uses exists
};

}  // namespace zorvane
