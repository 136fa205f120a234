#pragma once

#include <cstdint>

namespace zorvane {

// Which emitter a receiver is measured against.
enum class ScanDirection : std::int32_t {
    Forward = 0,  // oblique: the partner lies k positions after the receiver
    Middle = 1,   // straight: emitter and receiver at the same position
    Behind = 2,   // oblique: the partner lies k positions before the receiver
};

enum class ScanAxis : std::int32_t { X = 0, Y = 1 };

}  // namespace zorvane
