#pragma once

#include <cstdint>
#include <string>

namespace zorvane {

// Which HID interface a scan opens. The two `out` fields are written by a successful open.
struct DeviceFilter {
    std::int32_t rescanThrottle = 0;  // non-zero: scan at most once per 3 seconds
    std::int32_t productId = 0;       // 0 matches any
    std::int32_t vendorId = 0;        // 0 matches any
    std::int32_t versionNumber = 0;   // out: HID version number of the opened interface
    std::string pathFilter;           // substring the path must contain (case-sensitive); empty matches any
    std::string devicePath;           // out: path of the opened interface

    bool operator==(const DeviceFilter&) const = default;
};

inline constexpr std::int32_t kFrameVendorId = 0x1101;
inline constexpr std::int32_t kBootloaderProductId = 0xFFFF;
// The frame's command interface is its third top-level collection.
inline constexpr const char* kCommandInterfaceTag = "&col03";

inline DeviceFilter NormalFirmwareFilter()
{
    DeviceFilter filter;
    filter.rescanThrottle = 3;
    filter.vendorId = kFrameVendorId;
    filter.pathFilter = kCommandInterfaceTag;
    return filter;
}

inline DeviceFilter BootloaderFilter()
{
    DeviceFilter filter;
    filter.productId = kBootloaderProductId;
    filter.vendorId = kFrameVendorId;
    return filter;
}

}  // namespace zorvane
