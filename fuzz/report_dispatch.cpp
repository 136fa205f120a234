// Any 128 bytes as an incoming report and a pending request: classification, event decoding and
// reply recognition must accept everything.

#include "link/EventReport.h"
#include "link/Report.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zorvane::Report report{};
    zorvane::Report request{};
    std::copy_n(data, std::min(size, report.size()), report.begin());
    if (size > report.size())
        std::copy_n(data + report.size(), std::min(size - report.size(), request.size()), request.begin());

    switch (zorvane::ClassifyReport(report)) {
    case zorvane::ReportKind::PenTray:
        (void)zorvane::PenTraySlots(report);
        break;
    case zorvane::ReportKind::Point:
        (void)zorvane::PointOfSelector0(report);
        (void)zorvane::PointOfSelector1(report);
        break;
    case zorvane::ReportKind::Command:
        (void)zorvane::IsReplyTo(report, request);
        break;
    case zorvane::ReportKind::Foreign:
        break;
    }
    return 0;
}
