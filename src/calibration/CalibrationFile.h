#pragma once

#include "calibration/CalibrationFileFormat.h"
#include "protocol/CalibrationRecords.h"

#include <filesystem>

namespace zorvane {

// Writes the record as a calibration data file. The new content goes to a temporary file in the same
// folder, is flushed to disk and then renamed over the path, so a failure at any point (CannotOpen)
// leaves an existing file as it was and no partial file behind. A symbolic link is followed and the
// file it names written; an existing file keeps its permissions, and one this user may not write is
// left alone (CannotOpen).
CalibrationFileResult WriteCalibrationFile(const std::filesystem::path& path, const TwoPointCalibration& record);

// Reads a calibration data file by the rules of DecodeCalibrationFile. CannotOpen when the path names
// no regular file or it cannot be opened or read; out is then untouched.
CalibrationFileResult ReadCalibrationFile(const std::filesystem::path& path, TwoPointCalibration& out);

}  // namespace zorvane
