#pragma once

#include "pages/TargetPointer.h"
#include "widgets/CMybutton.h"

#include <QImage>
#include <QWidget>

#include <array>

namespace zorvane {

class CCalibrationDlg;
class CDeviceSetUpDlg;
class CUpdateFirmDlg;

// The advanced page: a bar of bitmap buttons on the left and three sub-pages it owns beside it, one in
// front at a time: the firmware update, the calibration and the device setup page. Showing the
// calibration or the setup sub-page through its button makes it read the frame again first. A fourth,
// hidden button belongs to the simulation view. Interface thread only.
class CAdvancecdDlg : public QWidget {
public:
    enum ControlId : int {
        kFirmwareButton = 1010,
        kCalibrationButton = 1020,
        kSimulationButton = 1021,
        kSettingsButton = 1033,
    };

    // Indices of ShowSubPage.
    enum SubPage : int { kFirmwarePage = 0, kCalibrationPage = 1, kSetupPage = 2, kNoSubPage = 3 };

    // The page paints into an off-screen picture of this size and copies it in one go.
    static constexpr int kPictureWidth = 1004;
    static constexpr int kPictureHeight = 584;

    explicit CAdvancecdDlg(QWidget* parent = nullptr, TargetPointerFactory targetPointer = {});

    // Creates the sub-pages (the calibration and the setup sub-page read the frame), places the buttons
    // and shows the firmware sub-page.
    void OnInitDialog();

    // Shows the sub-page of `index` and pins its button; the others are hidden and unpinned. For
    // kNoSubPage every sub-page is hidden and only the simulation button pinned.
    void ShowSubPage(int index);
    // The hidden simulation button: no sub-page in front, and the simulation view run modally.
    void RunSimulation();

    CUpdateFirmDlg& firmwarePage() { return *firmwarePage_; }
    CCalibrationDlg& calibrationPage() { return *calibrationPage_; }
    CDeviceSetUpDlg& setupPage() { return *setupPage_; }
    QWidget& subPage(SubPage page) const { return *subPages_[page]; }
    CMybutton& button(SubPage page) { return buttons_[page]; }

    QImage RenderPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kSubPageCount = 3;

    void PlaceButtons();

    const TargetPointerFactory targetPointer_;
    CUpdateFirmDlg* firmwarePage_ = nullptr;            // the sub-pages are owned by the page as children
    CCalibrationDlg* calibrationPage_ = nullptr;
    CDeviceSetUpDlg* setupPage_ = nullptr;
    std::array<QWidget*, kSubPageCount> subPages_{};  // by SubPage
    std::array<CMybutton, kSubPageCount + 1> buttons_;  // by SubPage, the simulation button last
};

}  // namespace zorvane
