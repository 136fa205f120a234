#pragma once

#include "link/Report.h"

#include <vector>

namespace zorvane {

struct BoardLists {
    std::vector<int> x;
    std::vector<int> y;
};

// The receiver count of every board, read from the layout reply from byte 16: the X list, a NUL, the
// Y list, a NUL. 'A' is a 64-receiver board, 'B' 32, 'C' 48; any other byte starts a decimal number
// that takes two bytes. The end of the report ends a list too.
BoardLists ParseBoardLists(const Report& layoutReply);

}  // namespace zorvane
