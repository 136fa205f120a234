#pragma once

class QMouseEvent;
class QWidget;

namespace zorvane {

// The caption-less popups are dragged by their title band: a left press in the top `bandHeight` pixels
// of `window` hands the move to the window system. True when the press was taken for that.
bool DragByTitleBand(QWidget& window, const QMouseEvent& press, int bandHeight);

}  // namespace zorvane
