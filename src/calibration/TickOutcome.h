#pragma once

namespace zorvane {

// What a target screen does after one 20 ms tick of its calibration loop.
enum class TickOutcome {
    Idle,           // no touch, the pointer outside every capture zone, or the finger not yet still
    TargetReached,  // the touch is used up and the next target is active: repaint
    Finish,         // the last target was reached: run Finish()
    WriteRecord,    // the record was corrected: write it without commit; a failed write stops
                    // the loop and hides the screen
};

}  // namespace zorvane
