#pragma once

#include "signal/ChartFrame.h"

#include <QFont>

class QPainter;

namespace zorvane {

// The fonts a chart frame is drawn with, made once per view (a frame is drawn many times a second).
struct ChartFonts {
    QFont axis;         // base-line texts, column numbers, grid labels
    QFont cursorLabel;  // the board label of the cursor column
    QFont parameters;   // the axis parameters and the caption

    static ChartFonts Make();
};

// Draws one whole chart frame, frame.geometry.width x height pixels from (0, 0): background, base
// lines and their texts, column numbers, the selected series (Value, Standard, Power, Fluctuation, later
// over earlier), the dotted grid with its labels, the cursor label, the parameters and the caption.
// Safe on any thread for a painter on a QImage.
void PaintChart(QPainter& painter, const ChartFrame& frame, const ChartFonts& fonts);

}  // namespace zorvane
