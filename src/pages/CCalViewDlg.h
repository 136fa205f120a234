#pragma once

#include "calibration/CalibrationRun.h"
#include "pages/CTargetViewBaseDlg.h"

namespace zorvane {

// The two-point calibration screen: a finger rests on the top-left and then the bottom-right target
// while the run corrects the frame's two-point record until the frame reports the finger on the
// target centre. Rings grow around the active target every 150 ms. Thread, ownership and failure
// rules are those of CTargetViewBaseDlg.
class CCalViewDlg final : public CTargetViewBaseDlg {
public:
    static constexpr int kAnimationMs = 150;

    explicit CCalViewDlg(QWidget* parent, TargetPointerFactory pointer = {});

    const TwoPointRun& calibration() const { return run_; }
    int ringCount() const { return ringCount_; }

protected:
    TargetRun& run() override { return run_; }
    void Animate() override;
    void PaintScreen(QPainter& painter) override;

private:
    TwoPointRun run_;
    int ringCount_ = 0;
};

}  // namespace zorvane
