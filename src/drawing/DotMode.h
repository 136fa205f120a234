#pragma once

#include <optional>

namespace zorvane {

// Dot mode of the drawing test and the line width it returns to, kept for the whole process: the
// width is the one in force at the first switch of the process, whatever was chosen in between.
// Interface thread only.
struct DotMode {
    bool on = false;
    std::optional<int> widthToRestore;

    // Switches dot mode over and returns the line width that goes with the new mode: 1 in dot mode,
    // the restored width out of it.
    int Toggle(int lineWidth);
};

// The process's dot mode, made on first use.
DotMode& ProcessDotMode();

}  // namespace zorvane
