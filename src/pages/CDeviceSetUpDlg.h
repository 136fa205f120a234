#pragma once

#include "protocol/DeviceSetupModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QImage>
#include <QRadioButton>
#include <QWidget>

#include <array>

namespace zorvane {

// The settings sub-page of the advanced page: the frame's rotation, reverse mounting and touch mode.
// A click sends its change at once; what the frame does not take returns the control to the last
// accepted value (DeviceSetupModel's rules). Transactions run on the interface thread, for as long as
// they take; no failure has a message.
class CDeviceSetUpDlg : public QWidget {
public:
    // Control ids, also the controls' object names ("id2007", ...).
    enum ControlId : int {
        kRotation0Radio = 2007,
        kRotation90Radio = 2008,
        kRotation180Radio = 2009,
        kRotation270Radio = 2010,
        kReverseBox = 1525,
        kMouseRadio = 2011,
        kTouchRadio = 2012,
        kMultiTouchRadio = 2013,
    };

    // The page paints into an off-screen picture of this size and copies it in one go.
    static constexpr int kPictureWidth = 829;
    static constexpr int kPictureHeight = 584;

    explicit CDeviceSetUpDlg(QWidget* parent = nullptr);

    // Reads the frame's settings, as every showing through the settings button does again.
    void OnInitDialog() { ReadSettings(); }

    void ReadSettings();
    void ApplyRotation(int rotation);
    void ApplyReverse();
    void ApplyTouchMode(int mode);

    const DeviceSetupModel& model() const { return model_; }

    // The page's own painting (not the controls) as the next paint shows it.
    QImage RenderPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PlaceControls();
    // The model into the controls; showing it is not a click, so no handler runs.
    void ShowSettings();

    DeviceSetupModel model_;
    const QFont titleFont_;
    const QFont rowFont_;
    std::array<QRadioButton, DeviceSetupModel::kRotationCount> rotations_;
    std::array<QRadioButton, DeviceSetupModel::kModeCount> modes_;
    QCheckBox reverse_;
    QButtonGroup rotationGroup_;
    QButtonGroup modeGroup_;
};

}  // namespace zorvane
