#pragma once

namespace zorvane {

// Where the drawing test takes its strokes from. On a real frame, the system's touch digitiser, touch
// input alone; on a desktop without a touch screen (the demo) the left mouse button also draws, as one
// more contact.
enum class DrawingPointer { TouchOnly, TouchAndMouse };

}  // namespace zorvane
