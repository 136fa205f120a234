#include "cli/Json.h"

#include <cstdio>

namespace zorvane::cli {
namespace {

void AppendString(std::string& out, const std::string& text)
{
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void AppendJson(std::string& out, const JsonValue& value)
{
    struct Writer {
        std::string& out;
        void operator()(std::nullptr_t) const { out += "null"; }
        void operator()(bool v) const { out += v ? "true" : "false"; }
        void operator()(std::int64_t v) const { out += std::to_string(v); }
        void operator()(const std::string& v) const { AppendString(out, v); }
        void operator()(const JsonValue::Array& items) const
        {
            out += '[';
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (i)
                    out += ',';
                AppendJson(out, items[i]);
            }
            out += ']';
        }
        void operator()(const JsonValue::Object& members) const
        {
            out += '{';
            for (std::size_t i = 0; i < members.size(); ++i) {
                if (i)
                    out += ',';
                AppendString(out, members[i].first);
                out += ':';
                AppendJson(out, members[i].second);
            }
            out += '}';
        }
    };
    std::visit(Writer{out}, value.value);
}

std::string PlainText(const JsonValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value.value))
        return *text;
    if (const auto* items = std::get_if<JsonValue::Array>(&value.value)) {
        std::string joined;
        for (const JsonValue& item : *items)
            joined += (joined.empty() ? "" : " ") + PlainText(item);
        return joined;
    }
    return ToJson(value);
}

bool IsObjectArray(const JsonValue& value)
{
    const auto* items = std::get_if<JsonValue::Array>(&value.value);
    return items && !items->empty() && std::holds_alternative<JsonValue::Object>(items->front().value);
}

void AppendText(std::string& out, const JsonValue::Object& members, const std::string& indent)
{
    for (const auto& [key, member] : members) {
        if (const auto* object = std::get_if<JsonValue::Object>(&member.value)) {
            out += indent + key + ":\n";
            AppendText(out, *object, indent + "  ");
        } else if (IsObjectArray(member)) {
            out += indent + key + ":\n";
            for (const JsonValue& item : std::get<JsonValue::Array>(member.value)) {
                std::string line;
                for (const auto& [itemKey, itemValue] : std::get<JsonValue::Object>(item.value))
                    line += "  " + itemKey + ": " + PlainText(itemValue);
                out += indent + "  -" + line + "\n";
            }
        } else {
            out += indent + key + ": " + PlainText(member) + "\n";
        }
    }
}

}  // namespace

std::string ToJson(const JsonValue& value)
{
    std::string out;
    AppendJson(out, value);
    return out;
}

std::string ToText(const JsonValue& value)
{
    if (const auto* object = std::get_if<JsonValue::Object>(&value.value)) {
        std::string out;
        AppendText(out, *object, "");
        return out;
    }
    return PlainText(value) + "\n";
}

}  // namespace zorvane::cli
