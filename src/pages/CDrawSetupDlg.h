#pragma once

#include "pages/DrawSettings.h"

#include <QDialog>

namespace zorvane {

// The drawing test's modal setup popup: pen colour, line width and grid, edited on a copy of the
// drawing settings, which the drawing test takes back only after OK. Interface thread only.
class CDrawSetupDlg : public QDialog {
public:
    explicit CDrawSetupDlg(const DrawSettings& settings, QWidget* parent = nullptr);

    const DrawSettings& settings() const { return settings_; }

private:
    DrawSettings settings_;
};

}  // namespace zorvane
