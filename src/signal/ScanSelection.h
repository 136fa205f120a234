#pragma once

#include "signal/ScanDirection.h"

namespace zorvane {

// What the charts read and show: one process-wide record that the panel hands over whole and every
// chart worker reads once per cycle, so a change takes effect in the next cycle.
struct ScanSelection {
    ScanDirection direction = ScanDirection::Middle;
    bool value = false;
    bool fluctuation = false;
    bool power = false;
    bool standard = false;

    bool operator==(const ScanSelection&) const = default;
};

// Both are safe from any thread; a reader sees a record as one hand-over left it, never a mix.
ScanSelection CurrentScanSelection();
void SetScanSelection(const ScanSelection& selection);

}  // namespace zorvane
