#pragma once

#include "pages/TargetPointer.h"

#include <QDialog>

#include <functional>

namespace zorvane {

// The full-screen two-point calibration screen (placeholder until it is built).
class CCalViewDlg : public QDialog {
public:
    explicit CCalViewDlg(QWidget* parent, TargetPointerFactory pointer = {});

    void SetRefreshCallback(std::function<void()> callback) { refresh_ = std::move(callback); }
    void Start();

private:
    std::function<void()> refresh_;
};

}  // namespace zorvane
