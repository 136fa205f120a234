#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zorvane {

// Text the frame stores in the code page of its makers' tools (GB18030, a superset of ASCII), as UTF-8.
// A NUL ends the text; undecodable bytes become U+FFFD.
std::string DecodeAnsiText(std::span<const std::uint8_t> bytes);

// Bytes widened one to one into characters (Latin-1), as UTF-8.
std::string WidenBytes(std::span<const std::uint8_t> bytes);

}  // namespace zorvane
