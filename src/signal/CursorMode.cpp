#include "signal/CursorMode.h"

namespace zorvane {

std::atomic<bool>& cursorMode()
{
    static std::atomic<bool> mode{false};
    return mode;
}

}  // namespace zorvane
