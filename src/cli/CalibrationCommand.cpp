#include "calibration/CalibrationPageModel.h"
#include "calibration/CalibrationText.h"
#include "cli/Command.h"
#include "cli/Frame.h"

#include <optional>
#include <system_error>

namespace zorvane::cli {
namespace {

constexpr std::int32_t kTwoPoint = static_cast<std::int32_t>(CalibrationKind::TwoPoint);
constexpr std::int32_t kNinePoint = static_cast<std::int32_t>(CalibrationKind::NinePoint);

std::string Utf8(const std::u16string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;  // a lone surrogate
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string KindName(std::int32_t kind)
{
    return kind == kTwoPoint ? "two-point" : kind == kNinePoint ? "nine-point" : "none";
}

JsonValue Section(const CalibrationSectionText& section)
{
    return JsonValue::Object{{"deviceId", Utf8(section.deviceId)}, {"data", section.data}};
}

JsonValue DeviceState(const CalibrationPageModel& model)
{
    JsonValue::Object state{{"kind", KindName(model.kind())}};
    if (model.kind() == kTwoPoint || model.kind() == kNinePoint) {
        state.emplace_back("deviceId", Utf8(model.deviceSection().deviceId));
        state.emplace_back("data", model.deviceSection().data);
    }
    if (model.kind() == kTwoPoint) {
        const TwoPointCalibration& record = model.deviceRecord();
        state.emplace_back("left", record.left);
        state.emplace_back("top", record.top);
        state.emplace_back("right", record.right);
        state.emplace_back("bottom", record.bottom);
    }
    return state;
}

Outcome Refused(std::string message) { return {ExitCode::Refused, std::move(message)}; }

// What went wrong with the frame in the model's last operation; nothing when all went well.
std::optional<Outcome> FrameFault(const CalibrationPageModel& model)
{
    switch (model.message()) {
    case CalibrationMessage::None:
        return std::nullopt;
    case CalibrationMessage::FetchFailed:
    case CalibrationMessage::FetchFirst:
        return Refused("fetching the frame's calibration data failed");
    case CalibrationMessage::ConnectDevice:
        return Refused("the frame did not answer the calibration kind request");
    case CalibrationMessage::ImportFailed:
        return Refused("the frame refused the calibration data");
    case CalibrationMessage::ResetFailed:
        return Refused("the frame refused the calibration reset");
    case CalibrationMessage::ExportFailed:
    case CalibrationMessage::OpenFailed:
    case CalibrationMessage::BadFormat:
    case CalibrationMessage::ChooseFile:
        return Outcome{ExitCode::BadFile, "calibration file fault"};
    }
    return Outcome{ExitCode::Failure, "unexpected calibration state"};
}

// Identifies the frame, then asks for its kind and record as the page does when it is shown.
std::optional<Outcome> OpenModel(CalibrationPageModel& model)
{
    DeviceInfo info;
    if (Outcome connected = ConnectFrame(info); !connected.ok())
        return connected;
    model.QueryKind();
    return FrameFault(model);
}

std::optional<Outcome> RequireTwoPoint(const CalibrationPageModel& model, std::string_view what)
{
    if (model.kind() == kTwoPoint)
        return std::nullopt;
    return Refused(std::string(what) + " works on two-point calibration data; the frame uses " +
                   KindName(model.kind()) + " (change it with 'calibration kind two-point')");
}

Outcome Show(const Invocation& invocation, CliIo& io)
{
    CalibrationPageModel model(GetDeviceProtocol());
    if (auto fault = OpenModel(model))
        return *fault;
    Emit(invocation, io, DeviceState(model));
    return Outcome::Ok();
}

Outcome Kind(const Invocation& invocation, CliIo& io)
{
    std::optional<CalibrationKind> wanted;
    if (invocation.operands.size() > 1) {
        const std::string& word = invocation.operands[1];
        if (word == "two-point")
            wanted = CalibrationKind::TwoPoint;
        else if (word == "nine-point")
            wanted = CalibrationKind::NinePoint;
        else
            return UsageError("invalid calibration kind '" + word + "' (two-point or nine-point)");
    }
    CalibrationPageModel model(GetDeviceProtocol());
    if (auto fault = OpenModel(model))
        return *fault;
    if (wanted) {
        model.SelectKind(*wanted);
        if (model.message() == CalibrationMessage::ConnectDevice)
            return Refused("the frame refused the calibration kind " + invocation.operands[1]);
        if (auto fault = FrameFault(model))
            return *fault;
    }
    Emit(invocation, io, DeviceState(model));
    return Outcome::Ok();
}

// A folder names where to put the file under the name the page proposes.
std::filesystem::path ExportPath(const std::filesystem::path& given, const std::u16string& proposed)
{
    std::error_code error;
    if (!std::filesystem::is_directory(given, error))
        return given;
    return given / std::filesystem::path(Utf8(proposed));
}

Outcome Export(const Invocation& invocation, CliIo& io)
{
    CalibrationPageModel model(GetDeviceProtocol());
    if (auto fault = OpenModel(model))
        return *fault;
    if (auto fault = RequireTwoPoint(model, "export"))
        return *fault;
    const std::optional<std::u16string> proposed = model.BeginExport();
    if (!proposed)
        return *FrameFault(model);
    const std::filesystem::path path = ExportPath(invocation.operands[1], *proposed);
    model.Export(path);
    if (model.message() == CalibrationMessage::ExportFailed)
        return {ExitCode::BadFile, "cannot write " + path.string() + " (an existing file is left as it was)"};
    JsonValue::Object result{{"exported", path.string()}};
    result.emplace_back("device", DeviceState(model));
    Emit(invocation, io, std::move(result));
    return Outcome::Ok();
}

Outcome Import(const Invocation& invocation, CliIo& io)
{
    CalibrationPageModel model(GetDeviceProtocol());
    // The file is checked before the frame is touched.
    const std::filesystem::path path = invocation.operands[1];
    model.LoadFile(path);
    if (model.message() == CalibrationMessage::OpenFailed)
        return {ExitCode::BadFile, "cannot open " + path.string()};
    if (model.message() == CalibrationMessage::BadFormat)
        return {ExitCode::BadFile, path.string() + ": not a calibration data file (wrong version or checksum)"};
    if (!HasDeviceId(model.fileRecord().deviceId))
        return {ExitCode::BadFile, path.string() + ": the file names no device (empty device id)"};
    if (auto fault = OpenModel(model))
        return *fault;
    if (auto fault = RequireTwoPoint(model, "import"))
        return *fault;
    model.Import();
    if (auto fault = FrameFault(model))
        return *fault;
    JsonValue::Object result{{"imported", path.string()}, {"file", Section(model.fileSection())}};
    result.emplace_back("device", DeviceState(model));
    Emit(invocation, io, std::move(result));
    return Outcome::Ok();
}

Outcome Reset(const Invocation& invocation, CliIo& io)
{
    CalibrationPageModel model(GetDeviceProtocol());
    if (auto fault = OpenModel(model))
        return *fault;
    model.Reset();
    if (auto fault = FrameFault(model))
        return *fault;
    Emit(invocation, io, DeviceState(model));
    return Outcome::Ok();
}

Outcome RunCalibration(const Invocation& invocation, CliIo& io)
{
    struct Action {
        std::string_view name;
        std::size_t operands;  // including the action's name; kind takes one or two
        Outcome (*run)(const Invocation&, CliIo&);
    };
    constexpr Action kActions[] = {
        {"show", 1, Show}, {"export", 2, Export}, {"import", 2, Import}, {"reset", 1, Reset}, {"kind", 2, Kind}};
    const std::string action = invocation.operands.empty() ? "show" : invocation.operands.front();
    for (const Action& each : kActions) {
        if (each.name != action)
            continue;
        const std::size_t given = std::max<std::size_t>(invocation.operands.size(), 1);
        const bool optionalSecond = each.name == "kind";
        if (given > each.operands || (given < each.operands && !optionalSecond))
            return UsageError("usage: zorvanectl calibration " + action + (each.operands == 2 ? " FILE" : ""));
        return each.run(invocation, io);
    }
    return UsageError("unknown calibration action '" + action + "'");
}

}  // namespace

const CommandSpec& CalibrationCommand()
{
    static const CommandSpec command{
        "calibration",
        "show, export, import or reset the frame's calibration data; its kind",
        "Usage: zorvanectl [--simulated] [--json] calibration [show]\n"
        "       zorvanectl [--simulated] [--json] calibration export FILE|FOLDER\n"
        "       zorvanectl [--simulated] [--json] calibration import FILE\n"
        "       zorvanectl [--simulated] [--json] calibration reset\n"
        "       zorvanectl [--simulated] [--json] calibration kind [two-point|nine-point]\n"
        "\n"
        "show     the calibration kind and the frame's record (edges for two-point, the top-left and\n"
        "         bottom-right points for nine-point), with its device id <x receivers>-<y receivers>\n"
        "export   writes the two-point record to a calibration data file (.cdat, 56 bytes); the file is\n"
        "         replaced in one step, so a failure leaves an existing file as it was. Given a folder,\n"
        "         the file is named Zorvane_<device id>.cdat\n"
        "import   checks the file (version and checksum; a file without device id is refused) before\n"
        "         touching the frame, then writes it to the frame and makes the frame keep it\n"
        "reset    the frame discards its calibration; the record is read again\n"
        "kind     shows the kind, or tells the frame to use the one named\n"
        "\n"
        "Export and import need the two-point kind. Bad or unreadable files end with exit status 5.\n",
        {},
        RunCalibration,
    };
    return command;
}

}  // namespace zorvane::cli
