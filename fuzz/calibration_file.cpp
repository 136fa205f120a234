// Any bytes as a calibration data file: the decoder must accept everything, and whatever record it
// leaves must survive being written and read again.

#include "calibration/CalibrationFileFormat.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zorvane::TwoPointCalibration record;
    (void)zorvane::DecodeCalibrationFile({data, size}, record);
    zorvane::TwoPointCalibration again;
    if (zorvane::DecodeCalibrationFile(zorvane::EncodeCalibrationFile(record), again) !=
            zorvane::CalibrationFileResult::Success ||
        again != record)
        __builtin_trap();
    return 0;
}
