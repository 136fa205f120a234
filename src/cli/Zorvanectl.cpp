#include "cli/Zorvanectl.h"

#include "cli/Arguments.h"
#include "platform/linux/FrameLock.h"

#include <array>

#ifndef ZORVANE_VERSION
#define ZORVANE_VERSION "unknown"
#endif

namespace zorvane::cli {
namespace {

const std::array<const CommandSpec*, 5>& Commands()
{
    static const std::array<const CommandSpec*, 5> commands = {&InfoCommand(), &CalibrationCommand(),
                                                               &SettingsCommand(), &SignalCommand(),
                                                               &FirmwareCommand()};
    return commands;
}

const CommandSpec* Find(const std::string& name)
{
    for (const CommandSpec* command : Commands())
        if (command->name == name)
            return command;
    return nullptr;
}

std::string Overview()
{
    std::string text =
        "Usage: zorvanectl [--simulated] [--json] COMMAND [ARGS...]\n"
        "       zorvanectl COMMAND --help\n"
        "\n"
        "The Zorvane service tool without a window: identify an infrared touch frame, back up and restore\n"
        "its calibration, read and change its settings, diagnose weak receivers and flash its firmware.\n"
        "\n"
        "Commands:\n";
    for (const CommandSpec* command : Commands()) {
        std::string name(command->name);
        name.resize(13, ' ');
        text += "  " + name + std::string(command->summary) + "\n";
    }
    text +=
        "\n"
        "Options:\n"
        "  --simulated  use the built-in simulated frame instead of the hidraw devices\n"
        "  --json       results as one line of JSON on standard output (failures too: {\"error\", \"exit\"})\n"
        "  -h, --help   this text, or a command's own with COMMAND --help\n"
        "  --version    the program's version\n"
        "\n"
        "Results go to standard output, messages and progress to standard error. While a command runs\n"
        "it holds the frame: the window program (zorvane) started meanwhile says so and ends, another\n"
        "zorvanectl is refused, and so is a frame the window program holds (exit status 7).\n"
        "\n";
    text += ExitCodeHelp();
    return text;
}

int Finish(const Invocation& invocation, CliIo& io, const Outcome& outcome)
{
    if (outcome.ok())
        return 0;
    io.err << "zorvanectl: " << outcome.message << "\n";
    if (invocation.json)
        io.out << ToJson(JsonValue::Object{{"error", outcome.message}, {"exit", static_cast<int>(outcome.code)}})
               << "\n";
    return static_cast<int>(outcome.code);
}

Outcome RunHoldingTheFrame(const Invocation& invocation, CliIo& io, const CommandSpec& command,
                           const CliPlatforms& platforms)
{
    SetLinkPlatformFactory(invocation.simulated ? platforms.simulated : platforms.hidraw);
    const FrameLock lock(invocation.simulated ? kSimulatedFrameLock : kHidrawFrameLock, "zorvanectl");
    switch (lock.state()) {
    case FrameLock::State::Held: {
        const std::string holder = lock.holder().empty() ? "another program" : lock.holder();
        return {ExitCode::FrameBusy, "the frame is in use by " + holder + "; try again once it has finished"};
    }
    case FrameLock::State::Unavailable:
        io.err << "zorvanectl: warning: the frame lock cannot be taken; nothing keeps another program off the frame\n";
        break;
    case FrameLock::State::Acquired:
        break;
    }
    return command.run(invocation, io);
}

}  // namespace

void Emit(const Invocation& invocation, CliIo& io, const JsonValue& result)
{
    io.out << (invocation.json ? ToJson(result) + "\n" : ToText(result)) << std::flush;
}

int RunZorvanectl(const std::vector<std::string>& args, CliIo& io, const CliPlatforms& platforms)
{
    const auto parsed = ParseArguments(args, Commands());
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        io.err << "zorvanectl: " << *error << "\nTry 'zorvanectl --help'.\n";
        return static_cast<int>(ExitCode::Usage);
    }
    const Invocation& invocation = std::get<Invocation>(parsed);
    if (invocation.version) {
        io.out << "zorvanectl " << ZORVANE_VERSION << "\n";
        return 0;
    }
    const CommandSpec* command = Find(invocation.command);
    if (invocation.help) {
        io.out << (command ? std::string(command->help) + "\n" + std::string(ExitCodeHelp()) : Overview());
        return 0;
    }
    if (!command) {
        io.err << "zorvanectl: no command given\nTry 'zorvanectl --help'.\n";
        return static_cast<int>(ExitCode::Usage);
    }
    return Finish(invocation, io, RunHoldingTheFrame(invocation, io, *command, platforms));
}

}  // namespace zorvane::cli
