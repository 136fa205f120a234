#pragma once

#include "link/Report.h"

#include <chrono>
#include <cstddef>

namespace zorvane {

// One report on its way from the simulated frame to the host: the first `length` bytes of `bytes`,
// readable `delay` after the request that caused it was written.
struct InputReport {
    Report bytes{};
    std::size_t length = kReportSize;
    std::chrono::milliseconds delay{0};
};

}  // namespace zorvane
