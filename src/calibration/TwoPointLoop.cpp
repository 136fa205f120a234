#include "calibration/TwoPointLoop.h"

#include "calibration/TargetStep.h"
#include "calibration/TwoPointCorrection.h"

namespace zorvane {

TickOutcome TwoPointTick(TwoPointSession& session, int& nearMissCount, ScreenSize screen)
{
    TouchHold& touch = session.touch;
    if (!touch.pressed)
        return TickOutcome::Idle;
    const auto target = TwoPointZoneAt(screen, touch.pointer);
    if (!target)
        return TickOutcome::Idle;
    session.activeTarget = *target;
    if (!touch.AdvanceStillness())
        return TickOutcome::Idle;

    const TargetStep step = StepTowardsTarget(touch.pointer, TargetCentre(*target, screen), nearMissCount);
    if (step.reached) {
        touch.pressed = false;
        if (*target == TwoPointTarget::BottomRight)
            return TickOutcome::Finish;
        session.activeTarget = TwoPointTarget::BottomRight;
        return TickOutcome::TargetReached;
    }
    CorrectTwoPointRecord(session.record, *target, step.adjusted, session.orientation);
    session.changed = true;
    return TickOutcome::WriteRecord;
}

}  // namespace zorvane
