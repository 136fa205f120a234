#pragma once

#include "pages/TargetPointer.h"

#include <QDialog>

#include <functional>

namespace zorvane {

// The full-screen nine-point calibration screen (placeholder until it is built).
class CCal9ViewDlg : public QDialog {
public:
    explicit CCal9ViewDlg(QWidget* parent, TargetPointerFactory pointer = {});

    void SetRefreshCallback(std::function<void()> callback) { refresh_ = std::move(callback); }
    void Start();

private:
    std::function<void()> refresh_;
};

}  // namespace zorvane
