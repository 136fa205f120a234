#pragma once

#include "calibration/CalibrationRun.h"
#include "pages/CTargetViewBaseDlg.h"

namespace zorvane {

// The nine-point calibration screen: a finger rests on each of the nine targets in the marker's
// order while the run corrects the frame's nine-point record. A marker blinks around the active
// target: it shows on every second paint, and the nine marker squares are repainted every 200 ms.
// Thread, ownership and failure rules are those of CTargetViewBaseDlg; the blink is one process-wide
// toggle on the UI thread.
class CCal9ViewDlg final : public CTargetViewBaseDlg {
public:
    static constexpr int kAnimationMs = 200;

    explicit CCal9ViewDlg(QWidget* parent, TargetPointerFactory pointer = {});

    const NinePointRun& calibration() const { return run_; }

protected:
    TargetRun& run() override { return run_; }
    void Animate() override;
    void PaintScreen(QPainter& painter) override;

private:
    NinePointRun run_;
};

}  // namespace zorvane
