#pragma once

#include "drawing/DrawWorker.h"
#include "drawing/StrokeStore.h"
#include "pages/DrawSettings.h"
#include "pages/DrawingPointer.h"
#include "widgets/FrameHandOver.h"
#include "widgets/ScreenOfWindow.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>
#include <optional>

class QTouchEvent;

namespace zorvane {

// The full-screen drawing test: every touch contact draws its own strokes on the screen that holds the
// main window. The touch handler only records strokes; the worker composes every frame off-screen and
// the paint event blits the newest. Keys: Esc ends the worker and then closes, C clears, X opens the
// drawing setup, Z switches dot mode (which, with the width it restores, is kept for the process);
// Enter and every other key do nothing, and nothing else closes the window.
//
// Interface thread only, apart from the worker's hand-over; the worker is stopped before the window
// and its strokes go.
class CDrawDlg : public QDialog {
public:
    // The contact the mouse draws as, where it draws at all: no touch point has this id.
    static constexpr StrokeStore::ContactId kMouseContact = 0xFFFFFFFFu;

    using DrawSetup = std::function<std::optional<DrawSettings>(QWidget* parent, const DrawSettings& settings)>;

    CDrawDlg(const DrawSettings& settings, QWidget* parent, DrawingPointer pointer = DrawingPointer::TouchOnly);
    ~CDrawDlg() override;

    // What X opens; RunDrawSetup unless replaced.
    void SetDrawSetup(DrawSetup setup) { setup_ = std::move(setup); }
    // Covers the screen of the owner's window and starts the worker.
    void OnInitDialog();
    // One touch input of `contact` at `at` (window pixels), with touch_flag bits.
    void OnTouchInput(StrokeStore::ContactId contact, QPoint at, int flags);

    const DrawSettings& settings() const { return settings_; }
    // A copy of the newest frame composed, null before the first one.
    QImage ShownFrame() { return frames_.Newest().copy(); }
    bool workerStopped() const { return !worker_ || worker_->stopped(); }

    // Every way the window ends passes here: the worker ends first.
    void done(int result) override;
    // Cancel and the window system's close request do nothing.
    void reject() override {}

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnTouchEvent(const QTouchEvent& event);
    // The demo's mouse draws as one more contact; touch points that Qt also offers as mouse events do not.
    bool MouseDraws(const QMouseEvent& event) const;
    void CoverScreen(QSize size);
    void HandOver(const QImage& frame);  // worker thread
    void OnSetupKey();
    void OnDotModeKey();
    DrawStyle Style() const;

    DrawSettings settings_;
    const DrawingPointer pointer_;
    DrawSetup setup_ = RunDrawSetup;
    StrokeStore strokes_;
    FrameHandOver frames_{*this};
    std::unique_ptr<ScreenOfWindow> screen_;
    std::unique_ptr<DrawWorker> worker_;  // last: stopped before the members it uses go
};

// The drawing test as the selection panel opens it, run modally over `parent` with line width 3, the
// grid off at spacing 20 and the red pen. Its strokes and picture go with it when it closes.
void RunDrawingTest(QWidget* parent, DrawingPointer pointer);

}  // namespace zorvane
