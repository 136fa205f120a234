#pragma once

#include "CalibrationRecords.h"
#include "DeviceProtocol.h"

#include <cstdint>

namespace zorvane {

// The frame's calibration records on the wire. Every coordinate travels as a big-endian 16-bit
// value: reading widens it to 0..65535, writing sends its low 16 bits. Each operation returns the
// LinkStatus of the command that ended it (time-out 400 ms each).

// Reads the record, then the frame's receiver counts as deviceId ("<x>-<y>"). A failed record read
// leaves `record` untouched; a failed size read leaves the values filled and deviceId as it was.
LinkStatus ReadTwoPointRecord(DeviceProtocol& protocol, TwoPointCalibration& record);
LinkStatus ReadNinePointRecord(DeviceProtocol& protocol, NinePointCalibration& record);

// The frame applies the record to its touch reports at once but does not keep it.
LinkStatus WriteTwoPointRecord(DeviceProtocol& protocol, const TwoPointCalibration& record);
LinkStatus WriteNinePointRecord(DeviceProtocol& protocol, const NinePointCalibration& record);

// Writes the record and, only when that succeeded, makes the frame keep it.
LinkStatus StoreTwoPointRecord(DeviceProtocol& protocol, const TwoPointCalibration& record);
LinkStatus StoreNinePointRecord(DeviceProtocol& protocol, const NinePointCalibration& record);

// The calibration kind the frame uses (reply byte 5): 1 two-point, 2 nine-point, anything else none.
// Written always, so 0 after a failure.
LinkStatus QueryCalibrationKind(DeviceProtocol& protocol, std::int32_t& kind);

}  // namespace zorvane
