#pragma once

#include "calibration/CalibrationPageModel.h"
#include "pages/TargetPointer.h"
#include "widgets/CMybutton.h"

#include <QFont>
#include <QImage>
#include <QLabel>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

namespace zorvane {

class CCal9ViewDlg;
class CCalViewDlg;

// The calibration sub-page of the advanced page: which calibration kind and data the frame holds, the
// kind buttons, fetching, exporting to and importing from calibration data files, the reset, and the
// two target screens it owns (created hidden, shown by the calibrate button).
//
// The operations and their texts are CalibrationPageModel's; the page runs them on the interface
// thread, for as long as their transactions take, and shows the result. Failures appear only in the
// message line. The file dialogs sit behind a seam so that tests can choose the files.
class CCalibrationDlg : public QWidget {
public:
    // Control ids, also the controls' object names ("id2060", ...).
    enum ControlId : int {
        kDeviceIdText = 2056,
        kDeviceDataText = 2062,
        kFileIdText = 2064,
        kFileDataText = 2052,
        kFilePathText = 2065,
        kMessageText = 2060,
        kFetchButton = 1011,
        kExportButton = 1023,
        kBrowseButton = 1004,
        kImportButton = 1005,
        kCalibrateButton = 1006,
        kResetButton = 1007,
        kTwoPointButton = 1031,
        kNinePointButton = 1032,
    };

    // The page paints into an off-screen picture of this size and copies it in one go.
    static constexpr int kPictureWidth = 829;
    static constexpr int kPictureHeight = 584;

    // Each returns the chosen path, or an empty text when the technician cancels.
    struct FileDialogs {
        std::function<QString(QWidget* parent, const QString& proposedName)> save;
        std::function<QString(QWidget* parent)> open;
    };

    explicit CCalibrationDlg(QWidget* parent = nullptr, TargetPointerFactory targetPointer = {});
    ~CCalibrationDlg() override;

    void SetFileDialogs(FileDialogs dialogs) { dialogs_ = std::move(dialogs); }
    // Creates the target screens hidden, places the buttons and asks the frame for its kind.
    void OnInitDialog();

    // The operations of the buttons; QueryKind also runs each time the advanced page shows this page.
    void QueryKind();
    void SelectKind(CalibrationKind kind);
    void FetchDeviceData();
    void ExportToFile();
    void BrowseFile();
    void ImportToDevice();
    void StartCalibration();
    void ResetDeviceData();

    const CalibrationPageModel& model() const { return model_; }
    CCalViewDlg& twoPointScreen() { return *twoPointScreen_; }
    CCal9ViewDlg& ninePointScreen() { return *ninePointScreen_; }

    // The page's own painting (not the controls) as the next paint shows it.
    QImage RenderPicture() const;

    static FileDialogs SystemFileDialogs();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    enum TextSlot : int { kDeviceIdSlot, kDeviceDataSlot, kFileIdSlot, kFileDataSlot, kFilePathSlot, kMessageSlot };
    static constexpr int kTextCount = 6;
    static constexpr int kButtonCount = 8;

    void PlaceTexts();
    void PlaceButtons();
    // The model's texts into the static texts, and its selected kind into the kind buttons.
    void ShowModel();

    CalibrationPageModel model_;
    const TargetPointerFactory targetPointer_;
    FileDialogs dialogs_;
    QString filePath_;  // as the open dialog gave it
    const QFont textFont_;
    const QFont titleFont_;
    std::array<QLabel, kTextCount> texts_;  // by TextSlot
    std::array<CMybutton, kButtonCount> buttons_;
    CCalViewDlg* twoPointScreen_ = nullptr;  // owned by the page, like its children
    CCal9ViewDlg* ninePointScreen_ = nullptr;
};

}  // namespace zorvane
