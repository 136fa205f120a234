#include "EventReport.h"

namespace zorvane {
namespace {

TouchPoint PointAt(const Report& report, std::size_t at)
{
    return ConvertPoint(Le16(report, at), Le16(report, at + 2));
}

}  // namespace

ReportKind ClassifyReport(const Report& report)
{
    if (!HasValidHeader(report))
        return ReportKind::Foreign;
    if (report[1] == 0xAC && report[2] == 0)
        return ReportKind::PenTray;
    if (report[1] == 0xAB && report[2] == 2)
        return ReportKind::Point;
    return ReportKind::Command;
}

std::array<int, 6> PenTraySlots(const Report& report)
{
    std::array<int, 6> slots{};
    for (std::size_t i = 0; i < slots.size(); ++i)
        slots[i] = report[5 + i] + 1;
    return slots;
}

TouchPoint ConvertPoint(std::uint16_t rawX, std::uint16_t rawY)
{
    return {static_cast<std::uint16_t>((rawX >> 5) + 1), static_cast<std::uint16_t>((rawY >> 5) + 1)};
}

TouchPoint PointOfSelector0(const Report& report) { return PointAt(report, 16); }
TouchPoint PointOfSelector1(const Report& report) { return PointAt(report, 6); }

}  // namespace zorvane
