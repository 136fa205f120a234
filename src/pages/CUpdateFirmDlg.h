#pragma once

#include "link/LinkStatus.h"
#include "widgets/CMybutton.h"

#include <QFont>
#include <QImage>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <thread>

namespace zorvane {

// The firmware sub-page of the advanced page: the technician chooses an image file (dialog or drop),
// starts, and the page asks the frame into its bootloader, probes for it every 200 ms, checks the
// image, runs the transfer and shows its progress; a failed transfer restarts the whole procedure at
// most five times in a row.
//
// Everything but the transfer runs on the interface thread, transactions included. The transfer runs
// on a worker the page owns: it only calls the updater and hands its result back through a queued
// functor, and the page joins it there. Destroying the page during a transfer stops the worker before
// its next packet and waits for it. The progress bar follows the updater's atomic `progress`. The
// file dialog sits behind a seam; going to the home page after a success (AutoJump) is a hook the
// main window sets. Failures appear only in the page's status lines.
class CUpdateFirmDlg : public QWidget {
public:
    // Control ids, also the controls' object names ("id1000", ...).
    enum ControlId : int {
        kStartButton = 1000,
        kStopButton = 1001,
        kAutoJumpButton = 1002,
        kBrowseButton = 1004,
        kPathText = 2050,
        kVersionText = 2051,
        kTransferText = 2053,
        kResultText = 2054,
        kDetectText = 2055,
        kMatchText = 2063,
    };

    // The page paints into an off-screen picture of this size and copies it in one go.
    static constexpr int kPictureWidth = 829;
    static constexpr int kPictureHeight = 584;
    static constexpr int kSearchIntervalMs = 200;
    static constexpr int kProgressIntervalMs = 10;
    static constexpr int kAutoJumpPauseMs = 1000;
    static constexpr int kMaxRestarts = 5;

    // Returns the chosen path, or an empty text when the technician cancels.
    using OpenDialog = std::function<QString(QWidget* parent)>;

    explicit CUpdateFirmDlg(QWidget* parent = nullptr);
    ~CUpdateFirmDlg() override;

    void SetOpenDialog(OpenDialog dialog) { openDialog_ = std::move(dialog); }
    // What AutoJump asks for once a transfer has reached 100 %: the main window's home page.
    void SetHomeRequest(std::function<void()> request) { homeRequest_ = std::move(request); }
    // Places the buttons and clears every line.
    void OnInitDialog();

    // The operations of the buttons; the main window's hot keys run BrowseImage and StartUpdate too.
    void BrowseImage();
    void StartUpdate();
    void StopSearch();
    void ToggleAutoJump();
    // A file dropped on the page becomes the image when ".bin" occurs in its path past the first two
    // characters; any other is ignored.
    void DropFile(const QString& path);

    // The timers' slots: one probe for the bootloader; the progress bar following the transfer.
    void SearchTick();
    void ProgressTick();

    bool searchTimerActive() const { return searchTimer_.isActive(); }
    bool progressTimerActive() const { return progressTimer_.isActive(); }
    bool transferRunning() const { return transfer_.joinable(); }
    int retryCount() const { return retryCount_; }
    float shownProgress() const { return shownProgress_; }
    bool autoJump() const;

    // The page's own painting (not the controls) as the next paint shows it.
    QImage RenderPicture() const;

    static OpenDialog SystemOpenDialog();

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum TextSlot : int { kPathSlot, kDetectSlot, kVersionSlot, kMatchSlot, kTransferSlot, kResultSlot };
    enum ButtonSlot : int { kBrowseSlot, kStartSlot, kStopSlot, kAutoJumpSlot };
    static constexpr int kTextCount = 6;
    static constexpr int kButtonCount = 4;

    // Whether an automatic restart keeps the failed transfer's result line.
    enum class ResultLine { Clear, Keep };

    void PlaceTexts();
    void PlaceButtons();
    void ResetStatus(ResultLine result);
    void Start(ResultLine result);
    void SetText(TextSlot slot, const QString& text);
    // Red marks the lines of the stages that did not succeed.
    void ShowStageColours();
    void SetUpdateButtonsEnabled(bool enabled);
    void BeginTransfer();
    void OnTransferEnded(LinkStatus status);

    OpenDialog openDialog_;
    std::function<void()> homeRequest_;
    const QFont textFont_;
    const QFont titleFont_;
    std::array<QLabel, kTextCount> texts_;  // by TextSlot
    std::array<CMybutton, kButtonCount> buttons_;  // by ButtonSlot
    QTimer searchTimer_;
    QTimer progressTimer_;
    QTimer autoJumpTimer_;
    bool detected_ = false;
    bool searching_ = false;
    bool matched_ = false;
    bool succeeded_ = false;
    bool browseOpen_ = false;
    int retryCount_ = 0;
    int probeDots_ = 0;
    float shownProgress_ = 0.0f;
    // Declared last: stopped and joined before anything it reports to goes.
    std::jthread transfer_;
};

}  // namespace zorvane
