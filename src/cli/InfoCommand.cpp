#include "cli/Command.h"
#include "cli/Frame.h"

namespace zorvane::cli {
namespace {

JsonValue::Array Numbers(const std::vector<int>& values) { return {values.begin(), values.end()}; }

Outcome RunInfo(const Invocation& invocation, CliIo& io)
{
    if (!invocation.operands.empty())
        return UsageError("'info' takes no operand");
    DeviceInfo info;
    if (Outcome connected = ConnectFrame(info); !connected.ok())
        return connected;
    Emit(invocation, io,
         JsonValue::Object{
             {"model", info.modelText},
             {"version", info.firmwareVersionText + " | " + info.secondVersionText},
             {"firmwareVersion", info.firmwareVersionText},
             {"secondVersion", info.secondVersionText},
             {"identificationCode", info.identificationCode + info.identificationSuffix},
             {"maxTouchPoints", info.maxTouchPointsText},
             {"boardLayout", BoardLayoutText(info.xBoards, info.yBoards)},
             {"xBoards", Numbers(info.xBoards)},
             {"yBoards", Numbers(info.yBoards)},
             {"xReceivers", info.xReceiverCount},
             {"yReceivers", info.yReceiverCount},
             {"buildTime", info.buildTimeText},
             {"vidPid", info.vidPidText},
             {"interfacePath", info.interfacePath},
         });
    return Outcome::Ok();
}

}  // namespace

const CommandSpec& InfoCommand()
{
    static const CommandSpec command{
        "info",
        "the frame's identification, as the home page shows it",
        "Usage: zorvanectl [--simulated] [--json] info\n"
        "\n"
        "Identifies the frame: model, firmware versions, identification code, maximum touch points, board\n"
        "layout (receivers per board along X and Y), build time, VID&PID and the interface path.\n",
        {},
        RunInfo,
    };
    return command;
}

}  // namespace zorvane::cli
