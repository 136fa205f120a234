#include "calibration/CalibrationPageModel.h"

#include "calibration/CalibrationFile.h"
#include "calibration/CalibrationText.h"
#include "protocol/CalibrationCommands.h"
#include "protocol/SendCommand.h"

namespace zorvane {
namespace {

constexpr std::int32_t kTwoPoint = static_cast<std::int32_t>(CalibrationKind::TwoPoint);
constexpr std::int32_t kNinePoint = static_cast<std::int32_t>(CalibrationKind::NinePoint);

template <typename Record>
CalibrationSectionText SectionOf(const Record& record)
{
    return {DeviceIdText(record.deviceId), CalibrationDataText(record)};
}

}  // namespace

void CalibrationPageModel::QueryKind()
{
    if (QueryCalibrationKind(protocol_, kind_) != link_status::kOk) {
        Fail(CalibrationMessage::ConnectDevice);
        return;
    }
    if (kind_ == kTwoPoint || kind_ == kNinePoint)
        SelectKind(static_cast<CalibrationKind>(kind_));
    FetchDeviceData();
}

void CalibrationPageModel::SelectKind(CalibrationKind kind)
{
    if (SendCommand(protocol_, commands::SetCalibrationKind(kind)) != link_status::kOk) {
        Fail(CalibrationMessage::ConnectDevice);
        return;
    }
    kind_ = static_cast<std::int32_t>(kind);
    selectedKind_ = kind;
    FetchDeviceData();
}

bool CalibrationPageModel::FetchDeviceData()
{
    if (ReadDeviceData())
        return true;
    Fail(CalibrationMessage::FetchFailed);
    return false;
}

bool CalibrationPageModel::ReadDeviceData()
{
    if (kind_ == kTwoPoint) {
        TwoPointCalibration record;
        if (ReadTwoPointRecord(protocol_, record) != link_status::kOk)
            return false;
        deviceRecord_ = record;
        deviceSection_ = SectionOf(record);
    } else if (kind_ == kNinePoint) {
        NinePointCalibration record;
        if (ReadNinePointRecord(protocol_, record) != link_status::kOk)
            return false;
        deviceSection_ = SectionOf(record);
    } else {
        return true;
    }
    message_ = CalibrationMessage::None;
    return true;
}

std::optional<std::u16string> CalibrationPageModel::BeginExport()
{
    if (kind_ != kTwoPoint)
        return std::nullopt;
    message_ = CalibrationMessage::None;
    if (!HasDeviceId(deviceRecord_.deviceId)) {
        message_ = CalibrationMessage::FetchFirst;
        return std::nullopt;
    }
    return ExportFileName(deviceRecord_.deviceId);
}

void CalibrationPageModel::Export(const std::filesystem::path& path)
{
    if (WriteCalibrationFile(path, deviceRecord_) != CalibrationFileResult::Success)
        message_ = CalibrationMessage::ExportFailed;
}

bool CalibrationPageModel::MayBrowse() const { return kind_ != kNinePoint; }

void CalibrationPageModel::LoadFile(const std::filesystem::path& path)
{
    TwoPointCalibration read;
    const CalibrationFileResult result = ReadCalibrationFile(path, read);
    fileSection_ = SectionOf(read);
    switch (result) {
    case CalibrationFileResult::Success:
        message_ = CalibrationMessage::None;
        fileRecord_ = read;
        return;
    case CalibrationFileResult::BadFormat:
        message_ = CalibrationMessage::BadFormat;
        return;
    case CalibrationFileResult::CannotOpen:
        message_ = CalibrationMessage::OpenFailed;
        return;
    }
}

void CalibrationPageModel::Import()
{
    if (kind_ != kTwoPoint)
        return;
    if (!HasDeviceId(fileRecord_.deviceId)) {
        message_ = CalibrationMessage::ChooseFile;
        return;
    }
    if (StoreTwoPointRecord(protocol_, fileRecord_) != link_status::kOk) {
        message_ = CalibrationMessage::ImportFailed;
        return;
    }
    FetchDeviceData();
}

std::optional<CalibrationKind> CalibrationPageModel::PrepareCalibration()
{
    if (!ReadDeviceData()) {
        Fail(CalibrationMessage::ConnectDevice);
        return std::nullopt;
    }
    if (kind_ == kTwoPoint || kind_ == kNinePoint)
        return static_cast<CalibrationKind>(kind_);
    return std::nullopt;
}

void CalibrationPageModel::Reset()
{
    if (SendCommand(protocol_, commands::ResetCalibration()) != link_status::kOk) {
        message_ = CalibrationMessage::ResetFailed;
        return;
    }
    FetchDeviceData();
}

// Failures of the frame clear the device section along with the message.
void CalibrationPageModel::Fail(CalibrationMessage message)
{
    message_ = message;
    deviceSection_ = {};
}

}  // namespace zorvane
