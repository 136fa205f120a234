#pragma once

#include "Report.h"

#include <array>
#include <cstdint>

namespace zorvane {

// Unsolicited reports the frame sends between replies.
enum class ReportKind {
    Foreign,  // header neither 0xFD nor 0xFB: dropped
    PenTray,  // byte 1 = 0xAC, byte 2 = 0
    Point,    // byte 1 = 0xAB, byte 2 = 2
    Command,  // everything else with a valid header: a candidate reply
};

ReportKind ClassifyReport(const Report& report);

// The six pen-slot states of a pen-tray report, each report byte plus 1.
std::array<int, 6> PenTraySlots(const Report& report);

struct TouchPoint {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};

// Point coordinates travel in 1/32 units, counted from 1.
TouchPoint ConvertPoint(std::uint16_t rawX, std::uint16_t rawY);

// The coordinates of a point report: at bytes 16..19 for selector 0, at bytes 6..9 for selector 1.
TouchPoint PointOfSelector0(const Report& report);
TouchPoint PointOfSelector1(const Report& report);

}  // namespace zorvane
