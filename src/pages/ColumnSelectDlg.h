#pragma once

#include "signal/AcquisitionFailureHook.h"
#include "signal/ScanSelection.h"
#include "widgets/CMybutton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QImage>
#include <QRadioButton>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

namespace zorvane {

class ScanChart;

// The control strip beside the normal chart: it chooses the scan direction and the series to read,
// starts and stops the chart's acquisition, asks the frame to initialise and opens the drawing test.
//
// The controls show the panel's state; what the chart worker reads is the applied selection, handed
// over to ScanSelection only by the start button and by a click on a direction or a switch. So after
// construction the worker reads nothing although Value and Power show ticked.
//
// Threads: everything runs on the interface thread except the stop routine, OnStop(), which the chart
// worker also runs through the failure hook. There it touches no widget and waits for nothing: the
// running flag is atomic, the chart's stop request is thread-safe, and the start button follows on
// the interface thread through a queued call. The hook holds only a shared part of the panel that the
// panel's destructor detaches, so a hook that outlives the panel does nothing.
class ColumnSelectDlg : public QWidget {
public:
    // Control ids, also the controls' object names ("id2001", ...).
    enum ControlId : int {
        kForwardRadio = 2000,
        kMiddleRadio = 2001,
        kBehindRadio = 2002,
        kValueBox = 1500,
        kFluctuationBox = 1501,
        kPowerBox = 1502,
        kStandardBox = 1503,
        kLedBox = 1504,
        kStartButton = 1000,
        kStopButton = 1001,
        kInitialiseButton = 1003,
        kDrawButton = 1012,
    };

    // The panel paints into an off-screen picture of this size and copies it in one go.
    static constexpr int kPictureWidth = 150;
    static constexpr int kPictureHeight = 584;

    explicit ColumnSelectDlg(QWidget* parent = nullptr);
    ~ColumnSelectDlg() override;
    ColumnSelectDlg(const ColumnSelectDlg&) = delete;
    ColumnSelectDlg& operator=(const ColumnSelectDlg&) = delete;

    // The chart the panel steers (the window-free half of the normal chart view); it must outlive the
    // panel or be replaced first. Until it is set the buttons change only the panel's own state.
    void SetChart(ScanChart* chart);
    // What the draw button opens once acquisition is stopped; nothing until set.
    void SetDrawingTest(std::function<void()> drawingTest) { drawingTest_ = std::move(drawingTest); }
    // Places the bitmap buttons and hides the controls the page keeps out of sight.
    void OnInitDialog();

    // The four operations of the buttons, also the main window's hot keys (interface thread).
    // Start: applies the panel's switches and starts acquiring; a failed identification query leaves
    // the panel idle and shows nothing.
    void OnStart();
    // The stop routine: while running, stops the chart (scan mode off, then LED on, in its next cycle)
    // and enables the start button; otherwise nothing. Any thread; see the class comment.
    void OnStop();
    // The stop routine, then the drawing test.
    void OnDraw();
    // The frame initialises in the chart's next cycle, acquiring or not.
    void RequestInitialise();

    // The stop routine as the process-wide failure hook (SetAcquisitionFailureHook); it runs on the
    // failing chart's worker and stops this panel's chart, whichever chart failed.
    AcquisitionFailureHook FailureHook() const;

    // Acquisition was started here and not stopped since. Any thread.
    bool running() const;
    // What the last hand-over gave ScanSelection.
    const ScanSelection& applied() const { return applied_; }

    // The panel's own painting (not the controls) as the next paint shows it.
    QImage RenderPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kDirectionCount = 3;
    static constexpr int kSwitchCount = 5;
    struct Shared;

    void PlaceControls();
    void PlaceButtons();
    void OnDirectionClicked(int id);
    void OnSwitchClicked(int index);
    // Framework data exchange: the controls into the panel state, and back.
    void ReadControls();
    void ShowPanelState();
    void ShowControlColours();
    void HandOver();
    // The start button is enabled exactly while not running; called wherever running changes and by
    // the stop routine's queued call.
    void ShowRunning();

    const std::shared_ptr<Shared> shared_;
    ScanDirection panelDirection_ = ScanDirection::Middle;
    std::array<bool, kSwitchCount> panelSwitches_;  // the boxes' states, in their order on the panel
    ScanSelection applied_;
    std::function<void()> drawingTest_;
    const QFont textFont_;
    std::array<QRadioButton, kDirectionCount> radios_;  // by ScanDirection
    QButtonGroup directions_;
    std::array<QCheckBox, kSwitchCount> boxes_;
    CMybutton drawButton_;
    CMybutton initialiseButton_;
    CMybutton startButton_;
    CMybutton stopButton_;
};

}  // namespace zorvane
