#pragma once

#include <mutex>

namespace zorvane {

// Spreads the slow series over the acquisition cycles: Tick is true on every `period`-th call,
// counting from construction. Thread-safe, as the counters are shared by every chart.
class CadenceCounter {
public:
    explicit CadenceCounter(int period) : period_(period) {}

    bool Tick();

private:
    const int period_;
    std::mutex lock_;
    int count_ = 0;
};

// The process-wide counters, created on first use and never reset: Standard is read every sixth
// acquiring cycle, Power every sixteenth.
CadenceCounter& StandardCadence();
CadenceCounter& PowerCadence();

}  // namespace zorvane
