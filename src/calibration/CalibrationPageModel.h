#pragma once

#include "protocol/CalibrationRecords.h"
#include "protocol/CommandTable.h"
#include "protocol/DeviceProtocol.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zorvane {

// What the calibration page's message line says; None is the cleared line.
enum class CalibrationMessage {
    None,
    FetchFailed,     // a fetch of the frame's record failed
    ConnectDevice,   // the kind query, a kind selection or the fetch before calibrating failed
    FetchFirst,      // export without a fetched two-point record
    ExportFailed,    // the export file could not be written
    OpenFailed,      // the chosen file cannot be opened
    BadFormat,       // the chosen file has a wrong version or checksum
    ChooseFile,      // import without a loaded file
    ImportFailed,    // the write or the commit of the import failed
    ResetFailed,     // the calibration reset failed
};

// The identification and the calibration data text a section of the page shows; empty when cleared.
struct CalibrationSectionText {
    std::u16string deviceId;
    std::string data;

    bool operator==(const CalibrationSectionText&) const = default;
};

// The calibration page without its window: the frame's calibration kind, the record last fetched from
// the frame and the record of the last good file, the texts of the device and file sections and of the
// message line, and every operation of the page's buttons. Each device request is one transaction
// through `protocol`, on the caller's thread, never retried.
//
// The kind is the byte the frame reports: 1 two-point, 2 nine-point, anything else none, and then the
// kind-dependent operations do nothing. The device record changes only through a successful two-point
// fetch, the file record only through a file read without error; an unplugged frame clears neither.
class CalibrationPageModel {
public:
    explicit CalibrationPageModel(DeviceProtocol& protocol) : protocol_(protocol) {}

    // Asks the frame for its kind and adopts it (0 when unanswered); a two-point or nine-point kind is
    // selected again, then the frame's record fetched.
    void QueryKind();
    // Tells the frame to use `kind`; on success the kind is adopted and the record fetched.
    void SelectKind(CalibrationKind kind);
    // Reads and shows the frame's record of the current kind; nothing for no kind.
    bool FetchDeviceData();

    // The first half of an export: clears the message line and gives the file name to propose, or
    // nothing when the export stops here (not two-point, or no record fetched: then it says so).
    std::optional<std::u16string> BeginExport();
    // Writes the device record to the chosen file.
    void Export(const std::filesystem::path& path);

    // Whether a file may be chosen: not while the frame uses the nine-point kind.
    bool MayBrowse() const;
    // Reads the chosen file and shows what it decoded to, whatever the result; only a good file
    // becomes the file record.
    void LoadFile(const std::filesystem::path& path);
    // Writes the file record to the frame and commits it; two-point only.
    void Import();

    // Fetches the frame's record before calibrating; the kind whose target screen opens, or nothing
    // (no kind, or the fetch failed: then it asks for the frame).
    std::optional<CalibrationKind> PrepareCalibration();
    // Sends the calibration reset and fetches again; any kind.
    void Reset();

    std::int32_t kind() const { return kind_; }
    // The kind of the last accepted selection, which the page's kind buttons mark.
    std::optional<CalibrationKind> selectedKind() const { return selectedKind_; }
    const TwoPointCalibration& deviceRecord() const { return deviceRecord_; }
    const TwoPointCalibration& fileRecord() const { return fileRecord_; }
    const CalibrationSectionText& deviceSection() const { return deviceSection_; }
    const CalibrationSectionText& fileSection() const { return fileSection_; }
    CalibrationMessage message() const { return message_; }

private:
    // The fetch without its failure text.
    bool ReadDeviceData();
    void Fail(CalibrationMessage message);

    DeviceProtocol& protocol_;
    std::int32_t kind_ = 0;
    std::optional<CalibrationKind> selectedKind_;
    TwoPointCalibration deviceRecord_;
    TwoPointCalibration fileRecord_;
    CalibrationSectionText deviceSection_;
    CalibrationSectionText fileSection_;
    CalibrationMessage message_ = CalibrationMessage::None;
};

}  // namespace zorvane
