#pragma once

#include "cli/Command.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace zorvane::cli {

// Parses the arguments after the program name. The global switches (--simulated, --json, --help or
// -h, --version) may stand anywhere; the first other word names the command, and from there on the
// command's own options (as "--name value" or "--name=value") and its operands follow in any order.
// "--" makes every later word an operand. The error text when the line is wrong.
std::variant<Invocation, std::string> ParseArguments(const std::vector<std::string>& args,
                                                     std::span<const CommandSpec* const> commands);

// The value an option's word names in a table of (word, value) rows; nothing for a word not in it.
template <typename T, std::size_t N>
std::optional<T> Lookup(const std::pair<std::string_view, T> (&table)[N], std::string_view word)
{
    for (const auto& [name, value] : table)
        if (name == word)
            return value;
    return std::nullopt;
}

}  // namespace zorvane::cli
