#include "sim/SimulatedFrame.h"

#include "protocol/CommandTable.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace zorvane {
namespace {

using Replies = std::vector<Report>;
// Answers one command. Handlers get the state to change it where a command sets something.
using Handler = Replies (*)(FrameState& state, const Report& request);

struct Route {
    std::uint8_t command = 0;
    std::uint8_t subCommand = 0;
    Handler handler = nullptr;
};

constexpr std::uint8_t kReplyCodeOffset = 0x80;
constexpr std::size_t kModelNameStart = 5;
constexpr std::size_t kBoardListStart = 16;
constexpr std::size_t kBoardListEnd = 36;  // bytes 36 and 37 carry two more layout bytes
constexpr std::size_t kBuildTimeLength = 20;

// The usual reply: the command repeated, the sub-command plus 0x80 as reply code.
Report ReplyTo(const Report& request)
{
    Report reply{};
    reply[0] = request[0];
    reply[1] = request[1];
    reply[2] = static_cast<std::uint8_t>(request[2] + kReplyCodeOffset);
    return reply;
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

Route RouteFor(const Command& command, Handler handler)
{
    return {command.request[1], command.request[2], handler};
}

// One row per command the frame understands, keyed by the request the command table builds.
const std::vector<Route>& Routes()
{
    static const std::vector<Route> routes = {
        RouteFor(commands::GetDeviceIdentity(), AnswerIdentity),
        RouteFor(commands::GetModelName(), AnswerModelName),
        RouteFor(commands::GetFrameLayout(), AnswerLayout),
        RouteFor(commands::GetAxisParameters(), AnswerAxisParameters),
    };
    return routes;
}

Handler HandlerFor(const Report& request)
{
    for (const Route& route : Routes()) {
        if (route.command == request[1] && route.subCommand == request[2])
            return route.handler;
    }
    return nullptr;
}

}  // namespace

SimulatedFrame::SimulatedFrame(FrameState state)
    : state_(std::move(state))
{
}

std::vector<Report> SimulatedFrame::Answer(const Report& request)
{
    // The normal firmware takes only its own report id; 0xFB requests are for a bootloader.
    if (request[0] != kNormalHeader)
        return {};
    const Handler handler = HandlerFor(request);
    // An unknown command gets an "unsupported" status rather than silence, so the host sees at once
    // that the frame is there but cannot do it.
    if (!handler)
        return {StatusReplyTo(request, kStatusUnsupported)};
    std::lock_guard guard(lock_);
    return handler(state_, request);
}

FrameState SimulatedFrame::state() const
{
    std::lock_guard guard(lock_);
    return state_;
}

void SimulatedFrame::SetState(FrameState state)
{
    std::lock_guard guard(lock_);
    state_ = std::move(state);
}

HidAttributes SimulatedFrame::usbAttributes() const
{
    std::lock_guard guard(lock_);
    return {state_.usb.vendorId, state_.usb.productId, state_.usb.versionNumber};
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
