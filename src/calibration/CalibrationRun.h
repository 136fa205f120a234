#pragma once

#include "calibration/NinePointLoop.h"
#include "calibration/ScreenGeometry.h"
#include "calibration/TickOutcome.h"
#include "calibration/TouchHold.h"
#include "calibration/TwoPointLoop.h"
#include "protocol/DeviceProtocol.h"

#include <cstdint>

namespace zorvane {

// The save prompt's results, the platform's OK, Cancel and No codes; kNotAsked when a run ends
// without the prompt (nothing was changed).
namespace save_answer {
inline constexpr int kNotAsked = 0;
inline constexpr int kYes = 1;
inline constexpr int kCancel = 2;
inline constexpr int kNo = 7;
}  // namespace save_answer

// What a target screen needs of its run, whatever the record kind: the touch its pointer events
// feed, the tick, and the device sequences around the loop.
class TargetRun {
public:
    virtual ~TargetRun() = default;

    // Makes the first target active and reads the frame's record. Only when that succeeded: reads the
    // orientation and the touch mode, switches the frame to its calibration settings (touch mode 1,
    // in which it moves the pointer) and clears `changed`; every reply but the record's is ignored.
    virtual LinkStatus Begin(DeviceProtocol& protocol) = 0;
    virtual TickOutcome Tick(ScreenSize screen) = 0;
    // The corrected record, without commit.
    virtual LinkStatus WriteCorrection(DeviceProtocol& protocol) = 0;
    // After the prompt (or without it): "是" stores and commits the record, "否" resets the frame's
    // calibration and reads the record again, anything else keeps the frame's record; then the
    // frame's own settings come back. "取消" is the caller's: the run goes on. Failures are ignored.
    virtual void End(DeviceProtocol& protocol, int answer) = 0;
    // The frame's calibration reset, then its record read again; failures are ignored.
    virtual void Reset(DeviceProtocol& protocol) = 0;
    virtual void BackToFirstTarget() = 0;
    virtual TouchHold& touch() = 0;
    virtual bool changed() const = 0;
};

// One target screen's run on the frame for the session (and so the record kind) it calibrates.
// UI thread only: every request is a single transaction on the calling thread.
//
// The touch mode given back at the end is the one the frame had before the run began. A run that
// begins again while the frame still has the calibration settings (the screen restarted on a new
// display, or a correction write failed and left them) keeps the mode it saved first: the frame
// now reports the calibration's own touch mode 1, which is not the technician's.
template <typename Session>
class CalibrationRun final : public TargetRun {
public:
    LinkStatus Begin(DeviceProtocol& protocol) override;
    TickOutcome Tick(ScreenSize screen) override;
    LinkStatus WriteCorrection(DeviceProtocol& protocol) override;
    void End(DeviceProtocol& protocol, int answer) override;
    void Reset(DeviceProtocol& protocol) override;
    void BackToFirstTarget() override { session.activeTarget = Session{}.activeTarget; }
    TouchHold& touch() override { return session.touch; }
    bool changed() const override { return session.changed; }

    std::int32_t savedTouchMode() const { return savedTouchMode_; }

    Session session;

private:
    // One counter per record kind for the whole process, kept between runs.
    static inline int nearMissCount_ = 0;
    std::int32_t savedTouchMode_ = 0;
    bool calibrationSettingsSent_ = false;
};

template <>
TickOutcome CalibrationRun<TwoPointSession>::Tick(ScreenSize screen);
template <>
TickOutcome CalibrationRun<NinePointSession>::Tick(ScreenSize screen);

using TwoPointRun = CalibrationRun<TwoPointSession>;
using NinePointRun = CalibrationRun<NinePointSession>;

extern template class CalibrationRun<TwoPointSession>;
extern template class CalibrationRun<NinePointSession>;

}  // namespace zorvane
