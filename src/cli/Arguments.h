#pragma once

#include "cli/Command.h"

#include <span>
#include <string>
#include <variant>
#include <vector>

namespace zorvane::cli {

// Parses the arguments after the program name. The global switches (--simulated, --json, --help or
// -h, --version) may stand anywhere; the first other word names the command, and from there on the
// command's own options (as "--name value" or "--name=value") and its operands follow in any order.
// "--" makes every later word an operand. The error text when the line is wrong.
std::variant<Invocation, std::string> ParseArguments(const std::vector<std::string>& args,
                                                     std::span<const CommandSpec* const> commands);

}  // namespace zorvane::cli
