#pragma once

#include "pages/TargetPointer.h"
#include "sim/SimulatedHidBackend.h"

#include <QTimer>

#include <memory>
#include <optional>

namespace zorvane {

// The demo's touches on a target screen: a mouse press held on the screen is a finger resting on the
// simulated frame at that spot, and the screen is given the pointer position the frame reports for
// it, as a real frame in touch mode 1 moves the system pointer. While the finger rests, the frame is
// asked again every 20 ms, because a correction written to it moves its report; a changed report
// arrives as a move. Nothing arrives while the frame moves no pointer (outside touch mode 1). A
// small marker shows where the reported pointer lands.
//
// UI thread only. It shares the frame with the demo's link; it owns its timer and keeps the screen's
// sink, which the screen outlives it with.
class SimulatedTouchPointer final : public TargetPointer {
public:
    static constexpr int kReportMs = 20;

    SimulatedTouchPointer(std::shared_ptr<SimulatedHidBackend> frame, Sink sink);

    void MousePressed(ScreenPoint at) override;
    void MouseMoved(ScreenPoint to) override;
    void MouseReleased() override;
    void PaintOverlay(QPainter& painter) const override;

    // Asks the frame at once where it reports the resting finger (what the timer does).
    void ReportNow();

private:
    const std::shared_ptr<SimulatedHidBackend> frame_;
    const Sink sink_;
    QTimer reportTimer_;
    std::optional<ScreenPoint> finger_;    // while the mouse button is held
    std::optional<ScreenPoint> reported_;  // the last report the screen was given for this finger
};

}  // namespace zorvane
