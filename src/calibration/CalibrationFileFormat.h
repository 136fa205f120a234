#pragma once

#include "protocol/CalibrationRecords.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zorvane {

enum class CalibrationFileResult : int {
    Success = 0,
    CannotOpen = 80,  // the file cannot be opened, read or written
    BadFormat = 82,   // wrong version or checksum
};

// A calibration data file: version 1, the checksum of the plain 48-byte TwoPointCalibration, and
// that record scrambled by XOR with 0x5A. Everything little-endian, no magic number.
inline constexpr std::size_t kCalibrationFileSize = 56;
inline constexpr std::int32_t kCalibrationFileVersion = 1;

using CalibrationFileBytes = std::array<std::uint8_t, kCalibrationFileSize>;

CalibrationFileBytes EncodeCalibrationFile(const TwoPointCalibration& record);

// Decodes the bytes of a file. Fewer than 4 bytes or a version other than 1: BadFormat, out
// untouched. Otherwise bytes missing from a short file count as zero before unscrambling, bytes past
// the 56th are ignored, and the record is copied into out whatever the checksum says; its deviceId
// keeps the units up to the first zero unit. Success only when the checksum matches.
CalibrationFileResult DecodeCalibrationFile(std::span<const std::uint8_t> bytes, TwoPointCalibration& out);

}  // namespace zorvane
