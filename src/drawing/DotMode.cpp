#include "drawing/DotMode.h"

namespace zorvane {

int DotMode::Toggle(int lineWidth)
{
    if (!widthToRestore)
        widthToRestore = lineWidth;
    const int width = on ? *widthToRestore : 1;
    on = !on;
    return width;
}

DotMode& ProcessDotMode()
{
    static DotMode dotMode;
    return dotMode;
}

}  // namespace zorvane
