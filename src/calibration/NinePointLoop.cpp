#include "calibration/NinePointLoop.h"

#include "calibration/NinePointCorrection.h"
#include "calibration/TargetStep.h"

namespace zorvane {

TickOutcome NinePointTick(NinePointSession& session, int& nearMissCount, const NinePointLayout& layout)
{
    TouchHold& touch = session.touch;
    if (!touch.pressed)
        return TickOutcome::Idle;
    const auto target = layout.ZoneAt(touch.pointer);
    if (!target)
        return TickOutcome::Idle;
    session.activeTarget = *target;
    if (!touch.AdvanceStillness())
        return TickOutcome::Idle;

    const TargetStep step = StepTowardsTarget(touch.pointer, layout.Centre(*target), nearMissCount);
    if (step.reached) {
        touch.pressed = false;
        if (*target == NinePointLayout::kCentreTarget)
            return TickOutcome::Finish;
        session.activeTarget = *target + 1;
        session.changed = true;
        return TickOutcome::TargetReached;
    }
    // Upright, a nudged near miss still corrects by the error it measured.
    const ScreenVector error = IsUpright(session.orientation) ? step.measured : step.adjusted;
    CorrectNinePointRecord(session.record, *target, error, session.orientation);
    session.changed = true;
    return TickOutcome::WriteRecord;
}

}  // namespace zorvane
