#include "calibration/CalibrationText.h"

#include "calibration/NinePointCorrection.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace zorvane {
namespace {

std::string Hex(std::int32_t value)
{
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(value), 16).ptr;
    std::string text(digits, end);
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string JoinHex(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
{
    return Hex(a) + "-" + Hex(b) + "-" + Hex(c) + "-" + Hex(d);
}

std::int32_t X(const NinePointCalibration& record, NinePoint point)
{
    return record.values[2 * static_cast<std::size_t>(point)];
}

std::int32_t Y(const NinePointCalibration& record, NinePoint point)
{
    return record.values[2 * static_cast<std::size_t>(point) + 1];
}

}  // namespace

std::string CalibrationDataText(const TwoPointCalibration& record)
{
    return JoinHex(record.left, record.top, record.right, record.bottom);
}

std::string CalibrationDataText(const NinePointCalibration& record)
{
    return JoinHex(X(record, NinePoint::TopLeft), Y(record, NinePoint::TopLeft), X(record, NinePoint::BottomRight),
                   Y(record, NinePoint::BottomRight));
}

std::u16string DeviceIdText(const CalibrationDeviceId& deviceId)
{
    const auto end = std::find(deviceId.begin(), deviceId.end(), u'\0');
    return std::u16string(deviceId.begin(), end);
}

bool HasDeviceId(const CalibrationDeviceId& deviceId)
{
    return deviceId[0] != u'\0';
}

std::u16string ExportFileName(const CalibrationDeviceId& deviceId)
{
    return u"Zorvane_" + DeviceIdText(deviceId) + u".cdat";
}

}  // namespace zorvane
