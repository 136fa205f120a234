#include "AnsiText.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace zorvane {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

void AppendLatin1(std::string& out, std::uint8_t byte)
{
    if (byte < 0x80) {
        out.push_back(static_cast<char>(byte));
    } else {
        out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
        out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
}

// Converts with iconv, replacing each byte it cannot decode.
std::string ConvertGb18030(std::span<const std::uint8_t> bytes)
{
    iconv_t converter = iconv_open("UTF-8", "GB18030");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return WidenBytes(bytes);
    std::string out;
    char buffer[256];
    auto* in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(bytes.data()));
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out += kReplacement;  // invalid or truncated sequence: skip one byte and go on
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(converter);
    return out;
}

}  // namespace

std::string DecodeAnsiText(std::span<const std::uint8_t> bytes)
{
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    const std::span<const std::uint8_t> text(bytes.begin(), end);
    if (std::all_of(text.begin(), text.end(), [](std::uint8_t b) { return b < 0x80; }))
        return std::string(text.begin(), text.end());
    return ConvertGb18030(text);
}

std::string WidenBytes(std::span<const std::uint8_t> bytes)
{
    std::string out;
    for (const std::uint8_t byte : bytes)
        AppendLatin1(out, byte);
    return out;
}

}  // namespace zorvane
