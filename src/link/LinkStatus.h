#pragma once

#include <cstdint>

namespace zorvane {

// The result of every device operation. The values are the frame tools' own codes and are shown to
// technicians in places, so they never change.
using LinkStatus = std::int32_t;

namespace link_status {
inline constexpr LinkStatus kOk = 0;
inline constexpr LinkStatus kSuspended = 37;        // the external calibration program runs
inline constexpr LinkStatus kWriteFailed = 38;      // write failed or timed out
inline constexpr LinkStatus kNoReply = 39;          // no matching reply in time
inline constexpr LinkStatus kNoDevice = 40;         // no frame found, scan throttled, or open failed
inline constexpr LinkStatus kBusy = 41;             // device mutex not obtained in time
inline constexpr LinkStatus kBadIdentity = 42;      // identity reply with a wrong reply code
inline constexpr LinkStatus kImageUnreadable = 60;  // firmware image file cannot be opened
inline constexpr LinkStatus kImageInvalid = 61;     // firmware image size or checksum wrong
inline constexpr LinkStatus kImageRejected = 62;    // the bootloader rejects the image for this frame
}  // namespace link_status

}  // namespace zorvane
