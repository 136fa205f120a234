#include "sim/SimulatedFrame.h"

#include "link/DeviceFilter.h"
#include "protocol/CommandTable.h"
#include "sim/FrameRoutes.h"
#include "sim/ScanSignals.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

namespace zorvane {
namespace sim_routes {
namespace {

constexpr std::size_t kModelNameStart = 5;
constexpr std::size_t kBoardListStart = 16;
constexpr std::size_t kBoardListEnd = 36;  // bytes 36 and 37 carry two more layout bytes
constexpr std::size_t kBuildTimeLength = 20;
constexpr std::size_t kCalibrationValuesStart = 6;
constexpr std::size_t kSignalValuesStart = 9;
constexpr std::uint8_t kHighestRotation = 3;
constexpr std::uint8_t kEnterBootloader = 1;

Replies Refuse(const Report& request, std::uint8_t status)
{
    return {SimulatedFrame::StatusReplyTo(request, status)};
}

void PutLe16(Report& report, std::size_t at, std::uint16_t value)
{
    report[at] = static_cast<std::uint8_t>(value);
    report[at + 1] = static_cast<std::uint8_t>(value >> 8);
}


// Copies as much of `text` as fits `room` bytes from `at`; returns the number of bytes copied.
std::size_t PutText(Report& report, std::size_t at, std::string_view text, std::size_t room)
{
    const std::size_t count = std::min({text.size(), room, report.size() - at});
    std::copy_n(text.begin(), count, report.begin() + static_cast<std::ptrdiff_t>(at));
    return count;
}

Replies AnswerIdentity(FrameState& state, const Report& request)
{
    const FrameState::Identity& identity = state.identity;
    Report reply = ReplyTo(request);
    PutLe16(reply, 8, identity.identificationCode);
    reply[10] = identity.touchPointFlag;
    reply[11] = identity.maxTouchPoints;
    std::copy(identity.vidPid.begin(), identity.vidPid.end(), reply.begin() + 18);
    PutLe16(reply, 22, identity.firmwareVersion);
    PutText(reply, 24, identity.buildTime, kBuildTimeLength);
    PutLe16(reply, 46, identity.secondVersion);
    return {reply};
}

Replies AnswerModelName(FrameState& state, const Report& request)
{
    Report reply = ReplyTo(request);
    reply[3] = static_cast<std::uint8_t>(PutText(reply, kModelNameStart, state.identity.modelName, kReportSize - kModelNameStart));
    return {reply};
}

Replies AnswerLayout(FrameState& state, const Report& request)
{
    const FrameState::Layout& layout = state.layout;
    Report reply = ReplyTo(request);
    reply[3] = request[3];  // the calibration reads send this request with their record kind here
    PutLe16(reply, 6, layout.xReceivers);
    PutLe16(reply, 8, layout.yReceivers);
    std::copy(layout.layoutParams.begin(), layout.layoutParams.end(), reply.begin() + 10);
    reply[14] = layout.straightThreshold;
    reply[15] = layout.obliqueThreshold;
    std::string lists = layout.xBoards;
    lists += '\0';
    lists += layout.yBoards;
    lists += '\0';
    PutText(reply, kBoardListStart, lists, kBoardListEnd - kBoardListStart);
    reply[36] = layout.byte36;
    reply[37] = layout.byte37;
    return {reply};
}

Replies AnswerAxisParameters(FrameState& state, const Report& request)
{
    const FrameState::Axis& axis = state.axis;
    Report reply = ReplyTo(request);
    // Firmware without an identification suffix echoes the sub-command, which the host also accepts.
    if (!axis.identificationSuffix)
        reply[2] = request[2];
    const std::uint8_t values[] = {axis.suffixFirst, axis.xParamB, axis.suffixThird, axis.yParamB,
                                   axis.xParamC,     axis.xParamA, axis.yParamC,      axis.yParamA};
    std::copy(std::begin(values), std::end(values), reply.begin() + 5);
    return {reply};
}

// The record a calibration command names in byte 3, as its wire values.
std::optional<std::span<std::uint16_t>> RecordValues(FrameState::CalibrationRecords& records, std::uint8_t qualifier)
{
    switch (qualifier) {
    case static_cast<std::uint8_t>(CalibrationKind::TwoPoint):
        return records.twoPoint;
    case static_cast<std::uint8_t>(CalibrationKind::NinePoint):
        return records.ninePoint;
    default:
        return std::nullopt;
    }
}

Replies AnswerReadCalibration(FrameState& state, const Report& request)
{
    const auto values = RecordValues(state.calibration.current, request[3]);
    if (!values)
        return Refuse(request, SimulatedFrame::kStatusRejected);
    Report reply = ReplyTo(request);
    reply[3] = request[3];
    for (std::size_t i = 0; i < values->size(); ++i) {
        reply[kCalibrationValuesStart + 2 * i] = static_cast<std::uint8_t>((*values)[i] >> 8);
        reply[kCalibrationValuesStart + 2 * i + 1] = static_cast<std::uint8_t>((*values)[i]);
    }
    return {reply};
}

// Takes effect at once, for the touch reports; only a commit makes the frame keep it.
Replies AnswerWriteCalibration(FrameState& state, const Report& request)
{
    const auto values = RecordValues(state.calibration.current, request[3]);
    if (!values)
        return Refuse(request, SimulatedFrame::kStatusRejected);
    for (std::size_t i = 0; i < values->size(); ++i) {
        const std::size_t at = kCalibrationValuesStart + 2 * i;
        (*values)[i] = static_cast<std::uint16_t>(request[at] << 8 | request[at + 1]);
    }
    return {ReplyTo(request)};
}

Replies AnswerCommitCalibration(FrameState& state, const Report& request)
{
    const auto current = RecordValues(state.calibration.current, request[3]);
    const auto stored = RecordValues(state.calibration.stored, request[3]);
    if (!current || !stored)
        return Refuse(request, SimulatedFrame::kStatusRejected);
    std::copy(current->begin(), current->end(), stored->begin());
    return {ReplyTo(request)};
}

Replies AnswerResetCalibration(FrameState& state, const Report& request)
{
    state.calibration.current = state.calibration.factory;
    state.calibration.stored = state.calibration.factory;
    return {ReplyTo(request)};
}

Replies AnswerGetCalibrationKind(FrameState& state, const Report& request)
{
    Report reply = ReplyTo(request);
    reply[5] = static_cast<std::uint8_t>(state.calibration.kind);
    return {reply};
}

Replies AnswerSetCalibrationKind(FrameState& state, const Report& request)
{
    const auto kind = static_cast<CalibrationKind>(request[5]);
    if (kind != CalibrationKind::TwoPoint && kind != CalibrationKind::NinePoint)
        return Refuse(request, SimulatedFrame::kStatusRejected);
    state.calibration.kind = kind;
    return {ReplyTo(request)};
}

Replies AnswerWithValue(const Report& request, std::uint8_t value)
{
    Report reply = ReplyTo(request);
    reply[5] = value;
    return {reply};
}

Replies AnswerGetRotation(FrameState& state, const Report& request)
{
    return AnswerWithValue(request, state.settings.rotation);
}

Replies AnswerSetRotation(FrameState& state, const Report& request)
{
    if (request[5] > kHighestRotation)
        return Refuse(request, SimulatedFrame::kStatusRejected);
    state.settings.rotation = request[5];
    return {ReplyTo(request)};
}

Replies AnswerGetReverse(FrameState& state, const Report& request)
{
    if (!state.settings.reverseSupported)
        return Refuse(request, SimulatedFrame::kStatusUnsupported);
    return AnswerWithValue(request, state.settings.reversed);
}

Replies AnswerSetReverse(FrameState& state, const Report& request)
{
    if (!state.settings.reverseSupported)
        return Refuse(request, SimulatedFrame::kStatusUnsupported);
    if (request[5] > 1)
        return Refuse(request, SimulatedFrame::kStatusRejected);
    state.settings.reversed = request[5];
    return {ReplyTo(request)};
}

Replies AnswerGetTouchMode(FrameState& state, const Report& request)
{
    return AnswerWithValue(request, state.settings.touchMode);
}

// The scan-mode switch travels as two reserved touch-mode values and leaves the touch mode as it is.
Replies AnswerSetTouchMode(FrameState& state, const Report& request)
{
    const std::uint8_t mode = request[5];
    if (mode == touch_mode::kScanOn || mode == touch_mode::kScanOff)
        state.settings.scanMode = mode == touch_mode::kScanOn;
    else if (mode >= touch_mode::kMouse && mode <= touch_mode::kMultiTouch)
        state.settings.touchMode = mode;
    else
        return Refuse(request, SimulatedFrame::kStatusRejected);
    return {ReplyTo(request)};
}

Replies AnswerSetLed(FrameState& state, const Report& request)
{
    if (request[5] > 1)
        return Refuse(request, SimulatedFrame::kStatusRejected);
    state.settings.led = request[5];
    return {ReplyTo(request)};
}

Replies AnswerInitialise(FrameState& state, const Report& request)
{
    ++state.settings.initialiseCount;
    return {ReplyTo(request)};
}

Replies AnswerCommandA212(FrameState& state, const Report& request)
{
    state.settings.commandA212 = request[5];
    return {ReplyTo(request)};
}

Replies AnswerCommand04(FrameState& state, const Report& request)
{
    state.settings.command04 = request[2];
    return {ReplyTo(request)};
}

// Receivers beyond the side's count are not there: a request reaching past them gets a short chunk.
// The receivers are read only while scan mode is on; otherwise see kStatusNotScanning.
Replies AnswerSignalChunk(FrameState& state, const Report& request)
{
    if (!state.settings.scanMode)
        return Refuse(request, SimulatedFrame::kStatusNotScanning);
    const int first = Le16(request, 6);
    const int count = std::min<int>(Le16(request, 8), kSignalChunkMax);
    const auto readings = ReadReceivers(state, request[5], first, count);
    if (!readings)
        return Refuse(request, SimulatedFrame::kStatusRejected);
    Report reply = ReplyTo(request);
    std::copy_n(request.begin() + 5, 3, reply.begin() + 5);  // selector and first index, as asked
    reply[8] = static_cast<std::uint8_t>(readings->size());
    std::copy(readings->begin(), readings->end(), reply.begin() + kSignalValuesStart);
    return {reply};
}

// The frame restarts into its bootloader at once, before it could answer.
Replies AnswerEnterBootloader(FrameState& state, const Report& request)
{
    if (request[5] != kEnterBootloader)
        return Refuse(request, SimulatedFrame::kStatusRejected);
    state.Restart(Personality::Bootloader);
    return {};
}

}  // namespace

std::span<const Route> NormalFirmwareRoutes()
{
    static const std::vector<Route> routes = {
        RouteFor(commands::GetDeviceIdentity(), AnswerIdentity),
        RouteFor(commands::GetModelName(), AnswerModelName),
        RouteFor(commands::GetFrameLayout(), AnswerLayout),
        RouteFor(commands::GetAxisParameters(), AnswerAxisParameters),
        RouteFor(commands::ReadSignalChunk(0, 0, 0), AnswerSignalChunk),
        // The calibration records share their commands; byte 3 names the record.
        RouteFor(commands::ReadTwoPointCalibration(), AnswerReadCalibration),
        RouteFor(commands::WriteTwoPointCalibration({}), AnswerWriteCalibration),
        RouteFor(commands::CommitTwoPointCalibration(), AnswerCommitCalibration),
        RouteFor(commands::ResetCalibration(), AnswerResetCalibration),
        RouteFor(commands::GetCalibrationKind(), AnswerGetCalibrationKind),
        RouteFor(commands::SetCalibrationKind(CalibrationKind::TwoPoint), AnswerSetCalibrationKind),
        RouteFor(commands::GetRotation(), AnswerGetRotation),
        RouteFor(commands::SetRotation(0), AnswerSetRotation),
        RouteFor(commands::GetReverse(), AnswerGetReverse),
        RouteFor(commands::SetReverse(0), AnswerSetReverse),
        RouteFor(commands::GetTouchMode(), AnswerGetTouchMode),
        RouteFor(commands::SetTouchMode(0), AnswerSetTouchMode),
        RouteFor(commands::SetLed(0), AnswerSetLed),
        RouteFor(commands::Initialise(), AnswerInitialise),
        RouteFor(commands::CommandA212(0), AnswerCommandA212),
        RouteFor(commands::Command04(0), AnswerCommand04),
        RouteFor(commands::Command04(1), AnswerCommand04),
        RouteFor(commands::EnterBootloader(), AnswerEnterBootloader),
    };
    return routes;
}

}  // namespace sim_routes

SimulatedFrame::SimulatedFrame(FrameState state)
    : state_(std::move(state))
{
}

std::vector<Report> SimulatedFrame::Answer(const Report& request)
{
    std::vector<Report> replies;
    std::function<void(Personality)> restarted;
    Personality running;
    {
        std::lock_guard guard(lock_);
        const Personality before = state_.running;
        // Each personality takes only its own report id: 0xFD the normal firmware, 0xFB the bootloader.
        const bool isBootloader = before == Personality::Bootloader;
        if (request[0] != (isBootloader ? kBootloaderHeader : kNormalHeader))
            return {};
        const auto handler = sim_routes::HandlerFor(
            isBootloader ? sim_routes::BootloaderRoutes() : sim_routes::NormalFirmwareRoutes(), request);
        // An unknown command gets an "unsupported" status rather than silence, so the host sees at
        // once that the frame is there but cannot do it.
        if (!handler)
            return {StatusReplyTo(request, kStatusUnsupported)};
        replies = handler(state_, request);
        running = state_.running;
        if (running != before)
            restarted = restartListener_;
    }
    if (restarted)
        restarted(running);
    return replies;
}

FrameState SimulatedFrame::state() const
{
    std::lock_guard guard(lock_);
    return state_;
}

void SimulatedFrame::SetState(FrameState state)
{
    std::function<void(Personality)> restarted;
    const Personality running = state.running;
    {
        std::lock_guard guard(lock_);
        if (running != state_.running)
            restarted = restartListener_;
        state_ = std::move(state);
    }
    if (restarted)
        restarted(running);
}

Personality SimulatedFrame::running() const
{
    std::lock_guard guard(lock_);
    return state_.running;
}

void SimulatedFrame::SetRestartListener(std::function<void(Personality)> listener)
{
    std::lock_guard guard(lock_);
    restartListener_ = std::move(listener);
}

void SimulatedFrame::PowerCycle()
{
    std::lock_guard guard(lock_);
    state_.Restart(state_.running);
}

void SimulatedFrame::SetDisplay(ScreenSize display)
{
    std::lock_guard guard(lock_);
    state_.mounting.display = display;
}

void SimulatedFrame::DeliverFor(ScreenSize display)
{
    std::lock_guard guard(lock_);
    DeliverForDisplay(state_, display);
}

std::optional<ScreenPoint> SimulatedFrame::ReportTouch(FingerPosition finger) const
{
    std::lock_guard guard(lock_);
    return ReportedPointer(state_, finger);
}

HidAttributes SimulatedFrame::usbAttributes() const
{
    std::lock_guard guard(lock_);
    return {state_.usb.vendorId, state_.usb.productId, state_.usb.versionNumber};
}

HidAttributes SimulatedFrame::bootloaderAttributes() const
{
    std::lock_guard guard(lock_);
    return {state_.usb.vendorId, static_cast<std::uint16_t>(kBootloaderProductId), state_.bootloader.versionNumber};
}

Report SimulatedFrame::PenTrayReport(const std::array<std::uint8_t, 6>& slots)
{
    Report report{};
    report[0] = kNormalHeader;
    report[1] = kPenTrayReportCode;
    std::copy(slots.begin(), slots.end(), report.begin() + 5);
    return report;
}

Report SimulatedFrame::StatusReplyTo(const Report& request, std::uint8_t status)
{
    Report reply{};
    reply[0] = request[0];
    reply[1] = request[1];
    reply[2] = status;
    reply[5] = request[1];
    reply[6] = request[2];
    return reply;
}

}  // namespace zorvane
