#pragma once

#include "cli/ExitCode.h"
#include "cli/Json.h"

#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zorvane::cli {

// The command line once parsed: the global switches, the sub-command, its operands and its options
// (an option without a value maps to an empty text).
struct Invocation {
    bool simulated = false;
    bool json = false;
    bool help = false;
    bool version = false;
    std::string command;
    std::vector<std::string> operands;
    std::map<std::string, std::string> options;

    bool Has(const std::string& option) const { return options.contains(option); }
};

// Where a command writes: results to `out`, messages and progress to `err`. `terminal` is whether
// `err` is a terminal, where progress is drawn as a bar rather than as lines.
struct CliIo {
    std::ostream& out;
    std::ostream& err;
    bool terminal = false;
};

struct OptionSpec {
    std::string_view name;  // "--rotation"
    bool takesValue = false;
};

// One sub-command: its name, the line the overview shows, its own help page, its options, and what
// it runs once the frame lock is held.
struct CommandSpec {
    std::string_view name;
    std::string_view summary;
    std::string_view help;
    std::vector<OptionSpec> options;
    Outcome (*run)(const Invocation& invocation, CliIo& io);
};

const CommandSpec& InfoCommand();
const CommandSpec& CalibrationCommand();
const CommandSpec& SettingsCommand();
const CommandSpec& SignalCommand();
const CommandSpec& FirmwareCommand();

// A command's result, as JSON with --json, as text lines otherwise.
void Emit(const Invocation& invocation, CliIo& io, const JsonValue& result);

inline Outcome UsageError(std::string message) { return {ExitCode::Usage, std::move(message)}; }

}  // namespace zorvane::cli
