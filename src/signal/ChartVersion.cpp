#include "signal/ChartVersion.h"

#include <limits>

namespace zorvane {

int ChartVersion(std::string_view firmwareVersionText)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    int version = 0;
    for (const char c : firmwareVersionText) {
        if (c < '0' || c > '9')
            break;
        const int digit = c - '0';
        version = version > (kMax - digit) / 10 ? kMax : version * 10 + digit;
    }
    return version;
}

}  // namespace zorvane
