#pragma once

#include "Report.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorvane {

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;

    bool operator==(const HidAttributes&) const = default;
};

enum class ReadOutcome {
    Data,      // `length` bytes arrived (a whole report is kReportSize bytes)
    Woken,     // the handle was closed
    TimedOut,  // nothing arrived in time
    Failed,    // the device refused the read (for example, it was unplugged)
};

struct ReadResult {
    ReadOutcome outcome = ReadOutcome::Failed;
    std::size_t length = 0;
};

// One open HID interface. Shared-owned: Close() marks it closed and wakes every thread blocked in
// Read, Write or AwaitClose; the operating-system handle is released only when the last owner drops
// it, so closing never races a transfer in flight.
class HidHandle {
public:
    virtual ~HidHandle() = default;

    // Writes one whole report; false when it was refused, the handle closed, or the time-out passed.
    virtual bool Write(const Report& report, std::chrono::milliseconds timeout) = 0;
    // Reads one report; no time-out waits until data arrives or the handle is closed.
    virtual ReadResult Read(Report& into, std::optional<std::chrono::milliseconds> timeout) = 0;
    virtual void Close() = 0;
    // Blocks until Close() has been called (at once when it already was).
    virtual void AwaitClose() = 0;
};

// What opening an interface gave.
struct OpenResult {
    std::shared_ptr<HidHandle> handle;  // null when the open failed
    // The system refused this user access to a present interface (permissions), as opposed to the
    // interface being gone or unusable: the user can do something about it.
    bool accessDenied = false;
};

// The operations the device channel needs of the platform's HID facility.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    // The paths of all present HID interfaces, in the platform's enumeration order.
    virtual std::vector<std::string> ListInterfaces() = 0;
    // Attributes of one interface, or nothing when it cannot be queried.
    virtual std::optional<HidAttributes> GetAttributes(const std::string& path) = 0;
    // Opens an interface for report I/O.
    virtual OpenResult Open(const std::string& path) = 0;
};

}  // namespace zorvane
