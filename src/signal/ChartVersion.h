#pragma once

#include <string_view>

namespace zorvane {

// The firmware version as the charts compare it: the leading decimal digits of the version text read
// as a decimal number, 0 when there are none. The text holds four hex digits, so "4100" gives 4100
// and "10a3" gives 10. Absurdly long digit runs saturate instead of overflowing.
int ChartVersion(std::string_view firmwareVersionText);

}  // namespace zorvane
