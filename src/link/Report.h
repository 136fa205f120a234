#pragma once

#include <array>
#include <cstdint>

namespace zorvane {

// Every exchange with the frame is one 64-byte HID report in each direction. Byte 0 carries the
// report id exactly as the device sends it: 0xFD from the normal firmware, 0xFB from the bootloader.
inline constexpr std::size_t kReportSize = 64;
using Report = std::array<std::uint8_t, kReportSize>;

inline constexpr std::uint8_t kNormalHeader = 0xFD;
inline constexpr std::uint8_t kBootloaderHeader = 0xFB;

// Multi-byte fields are little-endian, except the calibration coordinates.
inline std::uint16_t Le16(const Report& report, std::size_t at)
{
    return static_cast<std::uint16_t>(report[at] | (report[at + 1] << 8));
}

inline bool HasValidHeader(const Report& report)
{
    return report[0] == kNormalHeader || report[0] == kBootloaderHeader;
}

// The first half of the reply-recognition rule: the report repeats the request's command with the reply
// code (sub-command + 0x80, 2, or the sub-command itself).
inline bool AnswersCommand(const Report& reply, const Report& request)
{
    const int subCommand = request[2];
    return reply[1] == request[1] && (reply[2] == subCommand + 0x80 || reply[2] == 2 || reply[2] == subCommand);
}

// The reply-recognition rule: a command report answers the waiting request when it answers its command,
// or when it is a status reply naming the request's command and sub-command in bytes 5 and 6.
inline bool IsReplyTo(const Report& reply, const Report& request)
{
    const bool isStatusReply = reply[5] == request[1] && reply[6] == request[2];
    return AnswersCommand(reply, request) || isStatusReply;
}

}  // namespace zorvane
