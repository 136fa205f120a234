#pragma once

#include "calibration/ScreenGeometry.h"

namespace zorvane {

// The touch a target screen follows through its pointer events, and the stillness rule: a target
// step runs only after the pointer has rested within 3 pixels for 800 ms of 20 ms ticks.
class TouchHold {
public:
    static constexpr int kTickMs = 20;
    static constexpr int kStillMs = 800;
    static constexpr int kStillRadius = 3;

    bool pressed = false;
    ScreenPoint pointer;
    ScreenPoint stillStart;  // where the current still period began
    int stillTime = 0;       // milliseconds of stillness, 0..800

    // Left button down.
    void Press(ScreenPoint at);
    // Left button up.
    void Release();
    // A move while only the left button is held; the screen filters the other moves out.
    void Move(ScreenPoint to);

    // One tick of the stillness rule. True once the pointer has rested long enough; from then on
    // every tick is true until the next press, however far the pointer moves.
    bool AdvanceStillness();
};

}  // namespace zorvane
