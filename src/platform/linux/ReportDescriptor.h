#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zorvane {

// One top-level collection of a HID report descriptor, named by the usage that opened it.
struct TopLevelCollection {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;

    friend bool operator==(const TopLevelCollection&, const TopLevelCollection&) = default;
};

// The application collections at nesting depth 0, in descriptor order. The bytes come from the
// device, so any malformation is tolerated: parsing stops at a truncated item, a stray End Collection
// is ignored, and the collections found up to that point are returned.
std::vector<TopLevelCollection> ParseTopLevelCollections(std::span<const std::uint8_t> descriptor);

}  // namespace zorvane
