#pragma once

#include "link/HidBackend.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorvane {

// What sysfs tells about the HID device behind a hidraw node, given the node's sysfs directory.
// Everything read here is outside input: unreadable or garbled files give empty results, never a crash.

// The device's raw report descriptor; empty when it cannot be read.
std::vector<std::uint8_t> ReadReportDescriptor(const std::string& hidrawSyspath);

// Vendor and product from the HID device's HID_ID; the version is the bcdDevice of the USB device the
// HID device sits on, 0 when it is not on USB. Nothing when the identity cannot be read.
std::optional<HidAttributes> ReadHidrawAttributes(const std::string& hidrawSyspath);

}  // namespace zorvane
