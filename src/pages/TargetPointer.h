#pragma once

#include "calibration/ScreenGeometry.h"

#include <functional>
#include <memory>

class QPainter;

namespace zorvane {

// Where the pointer events of a target screen come from. On a real frame in touch mode 1 the frame
// itself moves the system pointer, so the screen's own left-button events are the frame's touches and
// pass straight through (SystemPointer). The demo has no such device: there a press is a finger
// resting on the simulated frame, and the screen receives the pointer position that frame reports.
// UI thread only.
class TargetPointer {
public:
    // What the screen does with the pointer events it is given.
    struct Sink {
        std::function<void(ScreenPoint)> press;
        std::function<void(ScreenPoint)> move;
        std::function<void()> release;
        std::function<void()> repaint;  // the overlay changed
    };

    virtual ~TargetPointer() = default;

    // The screen's own mouse events: left button down, a move with only the left button held, left
    // button up.
    virtual void MousePressed(ScreenPoint at) = 0;
    virtual void MouseMoved(ScreenPoint to) = 0;
    virtual void MouseReleased() = 0;

    // Drawn over the screen's picture; nothing by default.
    virtual void PaintOverlay(QPainter& painter) const;
};

// Makes the pointer of one target screen; an empty factory means the system pointer.
using TargetPointerFactory = std::function<std::unique_ptr<TargetPointer>(TargetPointer::Sink)>;

std::unique_ptr<TargetPointer> MakeTargetPointer(const TargetPointerFactory& factory, TargetPointer::Sink sink);

}  // namespace zorvane
