#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace zorvane::cli {

// A value of zorvanectl's output: written as JSON with --json, as "key: value" lines otherwise.
// Objects keep the order their members were added in, so the output is stable.
struct JsonValue {
    using Array = std::vector<JsonValue>;
    using Object = std::vector<std::pair<std::string, JsonValue>>;

    JsonValue() = default;
    JsonValue(bool v) : value(v) {}
    JsonValue(int v) : value(static_cast<std::int64_t>(v)) {}
    JsonValue(std::int64_t v) : value(v) {}
    JsonValue(std::string v) : value(std::move(v)) {}
    JsonValue(const char* v) : value(std::string(v)) {}
    JsonValue(Array v) : value(std::move(v)) {}
    JsonValue(Object v) : value(std::move(v)) {}

    std::variant<std::nullptr_t, bool, std::int64_t, std::string, Array, Object> value;
};

// One line of JSON. Texts are UTF-8 and pass through unchanged except for the escapes JSON needs.
std::string ToJson(const JsonValue& value);
// "key: value" lines; nested objects indent their members, arrays of plain values join by spaces,
// arrays of objects give one line per object.
std::string ToText(const JsonValue& value);

}  // namespace zorvane::cli
