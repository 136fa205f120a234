#include "cli/Arguments.h"
#include "cli/Command.h"
#include "cli/Frame.h"
#include "protocol/SettingsChange.h"

#include <cstdio>
#include <functional>
#include <optional>

namespace zorvane::cli {
namespace {

constexpr std::pair<std::string_view, Rotation> kRotations[] = {
    {"0", Rotation::Deg0}, {"90", Rotation::Deg90}, {"180", Rotation::Deg180}, {"270", Rotation::Deg270}};
constexpr std::pair<std::string_view, bool> kReverse[] = {{"on", true}, {"off", false}};
constexpr std::pair<std::string_view, TouchMode> kTouchModes[] = {
    {"mouse", TouchMode::Mouse}, {"touch", TouchMode::Touch}, {"multi-touch", TouchMode::MultiTouch}};

template <typename T, std::size_t N>
std::string NameOf(const std::pair<std::string_view, T> (&table)[N], T value, std::int32_t raw)
{
    for (const auto& [name, each] : table)
        if (each == value)
            return std::string(name);
    return "unknown (" + std::to_string(raw) + ")";
}

std::string ReplyCodeText(std::uint8_t code)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", code);
    return text;
}

JsonValue ShowSettings(const FrameSettings& settings)
{
    const auto rotation = static_cast<Rotation>(settings.rotation);
    const auto mode = static_cast<TouchMode>(settings.touchMode);
    return JsonValue::Object{
        {"rotation", NameOf(kRotations, rotation, settings.rotation)},
        {"reverse", settings.reversed == 1 ? "on" : settings.reversed == 0 ? "off" : "unknown (" + std::to_string(settings.reversed) + ")"},
        {"touchMode", NameOf(kTouchModes, mode, settings.touchMode)},
    };
}

// One requested change: the option, the value as given, and how to send it.
struct Change {
    std::string option;
    std::string value;
    std::function<SettingAnswer(DeviceProtocol&)> send;
};

std::variant<std::vector<Change>, std::string> RequestedChanges(const Invocation& invocation)
{
    std::vector<Change> changes;
    const auto add = [&](const char* option, const auto& table, auto send) -> std::optional<std::string> {
        if (!invocation.Has(option))
            return std::nullopt;
        const std::string& word = invocation.options.at(option);
        const auto value = Lookup(table, word);
        if (!value)
            return "invalid value '" + word + "' for " + option;
        changes.push_back({option, word, [send, v = *value](DeviceProtocol& protocol) { return send(protocol, v); }});
        return std::nullopt;
    };
    if (auto error = add("--rotation", kRotations, ChangeRotation))
        return *error;
    if (auto error = add("--reverse", kReverse, ChangeReverse))
        return *error;
    if (auto error = add("--touch-mode", kTouchModes, ChangeTouchMode))
        return *error;
    return changes;
}

Outcome RunSettings(const Invocation& invocation, CliIo& io)
{
    if (!invocation.operands.empty())
        return UsageError("'settings' takes no operand");
    auto requested = RequestedChanges(invocation);
    if (const auto* error = std::get_if<std::string>(&requested))
        return UsageError(*error);
    DeviceInfo info;
    if (Outcome connected = ConnectFrame(info); !connected.ok())
        return connected;
    DeviceProtocol& protocol = GetDeviceProtocol();
    JsonValue::Array outcomes;
    Outcome result = Outcome::Ok();
    for (const Change& change : std::get<std::vector<Change>>(requested)) {
        const SettingAnswer answer = change.send(protocol);
        const std::string setting = change.option.substr(2);
        outcomes.push_back(JsonValue::Object{{"setting", setting},
                                             {"value", change.value},
                                             {"accepted", answer.accepted()},
                                             {"status", answer.status}});
        if (answer.accepted() || !result.ok())
            continue;
        if (answer.refused)
            result = {ExitCode::Refused, "the frame refused " + setting + " " + change.value + " (reply code " +
                                             ReplyCodeText(answer.replyCode) + ")"};
        else
            result = DeviceFailure(answer.status, "changing " + setting + " to " + change.value);
    }
    FrameSettings settings;
    const LinkStatus read = ReadFrameSettings(protocol, settings);
    JsonValue::Object shown{{"settings", read == link_status::kOk ? ShowSettings(settings) : JsonValue()}};
    if (!outcomes.empty())
        shown.emplace_back("changes", std::move(outcomes));
    Emit(invocation, io, std::move(shown));
    if (result.ok() && read != link_status::kOk)
        result = DeviceFailure(read, "reading the settings");
    return result;
}

}  // namespace

const CommandSpec& SettingsCommand()
{
    static const CommandSpec command{
        "settings",
        "show or change rotation, reverse mounting and touch mode",
        "Usage: zorvanectl [--simulated] [--json] settings [--rotation 0|90|180|270] [--reverse on|off]\n"
        "                                                  [--touch-mode mouse|touch|multi-touch]\n"
        "\n"
        "Without options, shows the frame's settings. Each option sends one change, in the order rotation,\n"
        "reverse, touch mode; each is reported as accepted or refused, then the settings are read back.\n"
        "A refused change ends with exit status 6 (the others are still sent).\n",
        {{"--rotation", true}, {"--reverse", true}, {"--touch-mode", true}},
        RunSettings,
    };
    return command;
}

}  // namespace zorvane::cli
