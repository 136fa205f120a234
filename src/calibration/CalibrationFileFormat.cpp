#include "calibration/CalibrationFileFormat.h"

#include <algorithm>

namespace zorvane {
namespace {

constexpr std::size_t kRecordSize = 48;
constexpr std::size_t kChecksumOffset = 4;
constexpr std::size_t kRecordOffset = 8;
constexpr std::size_t kDeviceIdOffset = 16;
constexpr std::uint8_t kScrambleMask = 0x5A;

using RecordBytes = std::array<std::uint8_t, kRecordSize>;

void PutInt32(std::uint8_t* at, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t GetInt32(const std::uint8_t* at)
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

RecordBytes SerialiseRecord(const TwoPointCalibration& record)
{
    RecordBytes bytes{};
    PutInt32(&bytes[0], record.left);
    PutInt32(&bytes[4], record.top);
    PutInt32(&bytes[8], record.right);
    PutInt32(&bytes[12], record.bottom);
    for (std::size_t unit = 0; unit < record.deviceId.size(); ++unit) {
        bytes[kDeviceIdOffset + 2 * unit] = static_cast<std::uint8_t>(record.deviceId[unit]);
        bytes[kDeviceIdOffset + 2 * unit + 1] = static_cast<std::uint8_t>(record.deviceId[unit] >> 8);
    }
    return bytes;
}

TwoPointCalibration DeserialiseRecord(const RecordBytes& bytes)
{
    TwoPointCalibration record;
    record.left = GetInt32(&bytes[0]);
    record.top = GetInt32(&bytes[4]);
    record.right = GetInt32(&bytes[8]);
    record.bottom = GetInt32(&bytes[12]);
    for (std::size_t unit = 0; unit < record.deviceId.size(); ++unit) {
        const auto value = static_cast<char16_t>(bytes[kDeviceIdOffset + 2 * unit] |
                                                 bytes[kDeviceIdOffset + 2 * unit + 1] << 8);
        if (value == 0)
            break;
        record.deviceId[unit] = value;
    }
    return record;
}

// The sum of the plain bytes, each taken as a signed 8-bit value.
std::int32_t Checksum(const RecordBytes& plain)
{
    std::int32_t sum = 0;
    for (std::uint8_t byte : plain)
        sum += static_cast<std::int8_t>(byte);
    return sum;
}

// Scrambling is its own inverse.
RecordBytes Scramble(const std::uint8_t* bytes)
{
    RecordBytes result{};
    for (std::size_t i = 0; i < kRecordSize; ++i)
        result[i] = static_cast<std::uint8_t>(bytes[i] ^ kScrambleMask);
    return result;
}

}  // namespace

CalibrationFileBytes EncodeCalibrationFile(const TwoPointCalibration& record)
{
    const RecordBytes plain = SerialiseRecord(record);
    const RecordBytes scrambled = Scramble(plain.data());
    CalibrationFileBytes file{};
    PutInt32(&file[0], kCalibrationFileVersion);
    PutInt32(&file[kChecksumOffset], Checksum(plain));
    std::copy(scrambled.begin(), scrambled.end(), file.begin() + kRecordOffset);
    return file;
}

CalibrationFileResult DecodeCalibrationFile(std::span<const std::uint8_t> bytes, TwoPointCalibration& out)
{
    if (bytes.size() < kChecksumOffset || GetInt32(bytes.data()) != kCalibrationFileVersion)
        return CalibrationFileResult::BadFormat;
    CalibrationFileBytes file{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), file.size()), file.begin());
    const RecordBytes plain = Scramble(&file[kRecordOffset]);
    out = DeserialiseRecord(plain);
    return Checksum(plain) == GetInt32(&file[kChecksumOffset]) ? CalibrationFileResult::Success
                                                               : CalibrationFileResult::BadFormat;
}

}  // namespace zorvane
