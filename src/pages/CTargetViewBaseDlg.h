#pragma once

#include "calibration/CalibrationRun.h"
#include "calibration/ScreenGeometry.h"
#include "calibration/TargetScreenButtons.h"
#include "pages/TargetPointer.h"
#include "widgets/CMybutton.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <functional>
#include <memory>

class QPainter;

namespace zorvane {

class ScreenOfWindow;

// What both calibration target screens share: a borderless window over the whole screen that holds
// the main window (the parent's top-level window; the primary screen without a parent), the exit and
// reset buttons, the 20 ms tick that drives the window-free run while the screen is shown, the
// animation timer that runs for the screen's whole life, the pointer seam that feeds the run's touch,
// the save prompt and the keys. A concrete screen supplies its run, its picture and its animation.
//
// UI thread only. The screen owns its buttons, timers and pointer; the page owns the screen, created
// hidden and shown only by Start(). Device failures show nothing: a failed record read in Start()
// leaves the screen hidden, a failed correction write hides it at once without restoring the frame
// or refreshing the page, and every other failure is ignored. The screen closes only through
// Finish() or a failed write: Esc runs Finish(), Enter, the help key, Alt+F4 and a close request of
// the window system do nothing.
class CTargetViewBaseDlg : public QDialog {
public:
    static constexpr int kExitButton = 1008;
    static constexpr int kResetButton = 1007;
    static constexpr int kButtonWidth = 152;
    static constexpr int kButtonHeight = 52;

    // Asks whether the calibration is kept; returns a save_answer value.
    using SavePrompt = std::function<int()>;

    ~CTargetViewBaseDlg() override;

    // Called when the screen closes through Finish().
    void SetRefreshCallback(std::function<void()> callback) { refresh_ = std::move(callback); }
    // Replaces the modal CSaveCaldataDlg (tests answer it).
    void SetSavePrompt(SavePrompt prompt) { savePrompt_ = std::move(prompt); }

    // Begins a run on the frame and shows the screen; a failed record read leaves it hidden.
    void Start();
    // Asks about saving when the run changed anything; "取消" goes on calibrating on the first
    // target, every other answer ends the run, refreshes the page and hides the screen.
    void Finish();
    void Reset();
    // What timer 1 does every 20 ms: one tick of the run while the screen is shown.
    void Tick();
    // What the animation timer does at each period.
    void AdvanceAnimation() { Animate(); }
    // The screen's size and place follow the screen that holds the main window; a shown screen
    // begins its run again there.
    void RecalculateFrame();

    // The screen's own picture (without its buttons) as the next paint shows it; a paint that
    // changes the animation (the blinking marker) changes it here too.
    QImage RenderPicture();

    ScreenSize screenSize() const { return screen_; }
    bool ticking() const { return tickTimer_.isActive(); }

protected:
    // How a concrete screen differs: how fast it animates and where its buttons sit.
    struct Layout {
        int animationMs;
        TargetScreenButtons (*buttons)(ScreenSize screen);
    };

    CTargetViewBaseDlg(QWidget* parent, TargetPointerFactory pointer, Layout layout);

    virtual TargetRun& run() = 0;
    virtual void Animate() = 0;
    // Draws on the page background, over the whole screen.
    virtual void PaintScreen(QPainter& painter) = 0;

    static void DrawCross(QPainter& painter, const TargetCross& cross);
    static void DrawDisc(QPainter& painter, ScreenPoint centre, int radius);
    static void DrawCircle(QPainter& painter, ScreenPoint centre, int radius);
    void Repaint(const ScreenRect& area);

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void CoverScreen();
    int AskAboutSaving();
    // Ends the loop and hides the screen.
    void Close();

    const Layout layout_;
    QWidget& owner_;  // the window whose screen the screen covers
    ScreenSize screen_;
    CMybutton exitButton_;
    CMybutton resetButton_;
    QTimer tickTimer_;
    QTimer animationTimer_;
    std::unique_ptr<TargetPointer> pointer_;
    std::function<void()> refresh_;
    SavePrompt savePrompt_;
    bool prompting_ = false;  // ticks wait while the prompt's modal loop runs
    std::unique_ptr<ScreenOfWindow> screenOfOwner_;
};

}  // namespace zorvane
