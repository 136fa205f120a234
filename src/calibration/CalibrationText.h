#pragma once

#include "protocol/CalibrationRecords.h"

#include <string>

namespace zorvane {

// The calibration data text of the calibration page: four numbers in upper-case hexadecimal without
// leading zeros, joined by '-', e.g. 96-96-780-438. A negative value shows its 32-bit pattern.
// Two-point: left, top, right, bottom.
std::string CalibrationDataText(const TwoPointCalibration& record);
// Nine-point: the x and y of the top-left point, then of the bottom-right point.
std::string CalibrationDataText(const NinePointCalibration& record);

// The identification as text: the units up to the first zero unit, at most all 16.
std::u16string DeviceIdText(const CalibrationDeviceId& deviceId);
bool HasDeviceId(const CalibrationDeviceId& deviceId);

// The name proposed when exporting: Zorvane_<deviceId>.cdat.
std::u16string ExportFileName(const CalibrationDeviceId& deviceId);

}  // namespace zorvane
