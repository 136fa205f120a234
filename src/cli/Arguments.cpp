#include "cli/Arguments.h"

#include <algorithm>

namespace zorvane::cli {
namespace {

bool TakeGlobalSwitch(const std::string& word, Invocation& invocation)
{
    if (word == "--simulated")
        invocation.simulated = true;
    else if (word == "--json")
        invocation.json = true;
    else if (word == "--help" || word == "-h")
        invocation.help = true;
    else if (word == "--version")
        invocation.version = true;
    else
        return false;
    return true;
}

const CommandSpec* FindCommand(std::span<const CommandSpec* const> commands, const std::string& name)
{
    const auto found = std::find_if(commands.begin(), commands.end(), [&](const CommandSpec* c) { return c->name == name; });
    return found == commands.end() ? nullptr : *found;
}

const OptionSpec* FindOption(const CommandSpec& command, std::string_view name)
{
    const auto found = std::find_if(command.options.begin(), command.options.end(),
                                    [&](const OptionSpec& o) { return o.name == name; });
    return found == command.options.end() ? nullptr : &*found;
}

}  // namespace

std::variant<Invocation, std::string> ParseArguments(const std::vector<std::string>& args,
                                                     std::span<const CommandSpec* const> commands)
{
    Invocation invocation;
    const CommandSpec* command = nullptr;
    bool operandsOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        const bool looksLikeOption = !operandsOnly && word.size() > 1 && word[0] == '-';
        if (looksLikeOption && word == "--") {
            operandsOnly = true;
            continue;
        }
        if (looksLikeOption && TakeGlobalSwitch(word, invocation))
            continue;
        if (looksLikeOption) {
            if (!command)
                return "unknown option '" + word + "'";
            const std::size_t equals = word.find('=');
            const std::string name = word.substr(0, equals);
            const OptionSpec* option = FindOption(*command, name);
            if (!option)
                return "unknown option '" + name + "' for '" + std::string(command->name) + "'";
            if (!option->takesValue) {
                if (equals != std::string::npos)
                    return "option '" + name + "' takes no value";
                invocation.options[name] = {};
            } else if (equals != std::string::npos) {
                invocation.options[name] = word.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                invocation.options[name] = args[++i];
            } else {
                return "option '" + name + "' needs a value";
            }
            continue;
        }
        if (!command) {
            command = FindCommand(commands, word);
            if (!command)
                return "unknown command '" + word + "'";
            invocation.command = word;
            continue;
        }
        invocation.operands.push_back(word);
    }
    return invocation;
}

}  // namespace zorvane::cli
