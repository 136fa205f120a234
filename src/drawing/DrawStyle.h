#pragma once

#include <QColor>

namespace zorvane {

// How the drawing test paints: the pen, the grid, dot mode and the paper's colours. A plain value,
// handed whole to the drawing worker.
struct DrawStyle {
    int lineWidth = 3;    // pixels
    bool gridOn = false;
    int gridSpacing = 20; // pixels
    QColor penColour;
    bool dotMode = false;  // thin lines with a filled dot at every point
    QColor paper;          // the background
    QColor gridLine;

    friend bool operator==(const DrawStyle&, const DrawStyle&) = default;
};

}  // namespace zorvane
