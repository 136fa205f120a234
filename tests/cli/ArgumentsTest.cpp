#include "cli/Arguments.h"
#include "cli/Json.h"

#include <gtest/gtest.h>

namespace zorvane::cli {
namespace {

Outcome Nothing(const Invocation&, CliIo&) { return Outcome::Ok(); }

const CommandSpec kSettings{"settings", "", "", {{"--rotation", true}, {"--csv", false}}, Nothing};
const CommandSpec* const kCommands[] = {&kSettings};

TEST(Arguments, GlobalSwitchesAnywhereOptionsInBothFormsAndOperandsAfterTheDoubleDash)
{
    const auto parsed =
        ParseArguments({"--json", "settings", "--rotation=90", "--simulated", "--csv", "--", "--rotation"}, kCommands);
    ASSERT_TRUE(std::holds_alternative<Invocation>(parsed)) << std::get<std::string>(parsed);
    const Invocation& invocation = std::get<Invocation>(parsed);
    EXPECT_TRUE(invocation.json);
    EXPECT_TRUE(invocation.simulated);
    EXPECT_EQ(invocation.options.at("--rotation"), "90");
    EXPECT_TRUE(invocation.Has("--csv"));
    EXPECT_EQ(invocation.operands, std::vector<std::string>{"--rotation"});

    const auto spaced = ParseArguments({"settings", "--rotation", "-90"}, kCommands);
    ASSERT_TRUE(std::holds_alternative<Invocation>(spaced));
    EXPECT_EQ(std::get<Invocation>(spaced).options.at("--rotation"), "-90");  // a value may look like an option
}

TEST(Arguments, WrongLinesAreRefusedWithTheirReason)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--rotation", "90", "settings"}, "unknown option '--rotation'"},  // before its command
        {{"settings", "--rotation"}, "needs a value"},
        {{"settings", "--csv=yes"}, "takes no value"},
        {{"settings", "--bogus"}, "unknown option '--bogus' for 'settings'"},
        {{"flash"}, "unknown command 'flash'"},
    };
    for (const auto& [args, reason] : cases) {
        const auto parsed = ParseArguments(args, kCommands);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << reason;
        EXPECT_NE(std::get<std::string>(parsed).find(reason), std::string::npos) << std::get<std::string>(parsed);
    }
}

TEST(Json, TextsAreEscapedAndUtf8PassesThrough)
{
    const JsonValue value = JsonValue::Object{{"path", "a\"b\\c\nd\x01"}, {"board", "[X:64·Y:48]"},
                                              {"list", JsonValue::Array{1, true, JsonValue()}}};
    EXPECT_EQ(ToJson(value), "{\"path\":\"a\\\"b\\\\c\\nd\\u0001\",\"board\":\"[X:64·Y:48]\",\"list\":[1,true,null]}");
}

}  // namespace
}  // namespace zorvane::cli
