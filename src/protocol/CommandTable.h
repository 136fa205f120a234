#pragma once

#include "link/Report.h"

#include <array>
#include <cstdint>
#include <span>

namespace zorvane {

// One request of the command table and the time-out it is sent with.
struct Command {
    Report request{};
    int timeoutMs = 400;
};

// Command bytes (request byte 1).
namespace command_code {
inline constexpr std::uint8_t kTouchControl = 0x04;
inline constexpr std::uint8_t kBootloader = 0xA0;
inline constexpr std::uint8_t kCalibration = 0xA1;
inline constexpr std::uint8_t kMaintenance = 0xA2;
inline constexpr std::uint8_t kIdentity = 0xA3;
inline constexpr std::uint8_t kTouchMode = 0xA4;
inline constexpr std::uint8_t kLayout = 0xA5;
inline constexpr std::uint8_t kOrientation = 0xA7;
inline constexpr std::uint8_t kAxisAndPower = 0xA8;
}  // namespace command_code

inline constexpr int kOrdinaryTimeoutMs = 400;
inline constexpr std::size_t kSignalChunkMax = 55;   // values per signal chunk
inline constexpr std::size_t kBootloaderPacket = 56;  // payload bytes per data packet
inline constexpr std::size_t kTwoPointValues = 8;     // four corners, x then y
inline constexpr std::size_t kNinePointValues = 18;   // nine points, x then y

// Calibration record kinds, also the qualifier byte of the calibration commands.
enum class CalibrationKind : std::uint8_t { TwoPoint = 1, NinePoint = 2 };

// Touch-mode values, including the two that switch the frame's scan mode.
namespace touch_mode {
inline constexpr std::uint8_t kMouse = 1;
inline constexpr std::uint8_t kTouch = 2;
inline constexpr std::uint8_t kMultiTouch = 3;
inline constexpr std::uint8_t kScanOn = 0xCC;
inline constexpr std::uint8_t kScanOff = 0xFF;
}  // namespace touch_mode

// Every request the tool sends, by name.
namespace commands {
Command GetDeviceIdentity();
Command GetModelName();
Command GetFrameLayout();
Command GetAxisParameters();
Command ReadSignalChunk(std::uint8_t selector, std::uint16_t firstIndex, std::uint16_t count);
Command ReadTwoPointCalibration();
Command ReadNinePointCalibration();
Command WriteTwoPointCalibration(const std::array<std::uint16_t, kTwoPointValues>& corners);
Command WriteNinePointCalibration(const std::array<std::uint16_t, kNinePointValues>& points);
Command CommitTwoPointCalibration();
Command CommitNinePointCalibration();
Command ResetCalibration();
Command GetCalibrationKind();
Command SetCalibrationKind(CalibrationKind kind);
Command GetRotation();
Command SetRotation(std::uint8_t rotationIndex);
Command GetReverse();
Command SetReverse(std::uint8_t reversed);
Command GetTouchMode();
Command SetTouchMode(std::uint8_t mode);
Command SetLed(std::uint8_t on);
Command Initialise();
Command CommandA212(std::uint8_t closing);
Command Command04(std::uint8_t closing);
Command EnterBootloader();
Command BootloaderProbe();
// `image` is the firmware image file; its key, checksum and target bytes are passed on as stored,
// and bytes a file too short to hold them lacks are sent as 0.
Command BootloaderBegin(std::span<const std::uint8_t> image);
Command BootloaderData(std::size_t packetIndex, std::span<const std::uint8_t, kBootloaderPacket> payload);
Command BootloaderFinish();
}  // namespace commands

}  // namespace zorvane
