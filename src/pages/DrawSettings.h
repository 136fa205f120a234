#pragma once

#include "widgets/Palette.h"

#include <QColor>

#include <optional>

class QWidget;

namespace zorvane {

// The drawing test's four settings, which its setup dialog edits on a copy.
struct DrawSettings {
    int lineWidth = 3;    // 1..10 pixels
    int gridOn = 0;       // 0/1: the grid is drawn under the strokes
    int gridSpacing = 20; // 10..100 pixels
    QColor penColour = palette::kRed;

    friend bool operator==(const DrawSettings&, const DrawSettings&) = default;
};

// Opens the drawing setup dialog over `parent` on a copy of `settings` and waits for it: the edited
// settings after OK, nothing after cancel.
std::optional<DrawSettings> RunDrawSetup(QWidget* parent, const DrawSettings& settings);

}  // namespace zorvane
