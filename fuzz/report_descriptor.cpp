#include "platform/linux/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto collections = zorvane::ParseTopLevelCollections(std::span<const std::uint8_t>(data, size));
    // Every top-level collection costs at least its two-byte Collection item.
    if (collections.size() > size / 2)
        __builtin_trap();
    return 0;
}
