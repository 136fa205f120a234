#pragma once

#include "signal/SimulatedScanGeometry.h"

#include <QDialog>
#include <QImage>
#include <QPushButton>

#include <array>
#include <memory>

namespace zorvane {

class ScreenOfWindow;

// The algorithm simulation view: a borderless window over the whole screen that holds the main window
// (the parent's top-level window), on the scan geometry of a simulated 192 x 108 frame. Its start button
// toggles the run and its caption ("开始" / "停止"); three switches turn the front, back and middle scan
// directions on and off. While it runs the view draws the beams of the directions switched on, scaled
// from the logical drawing space to the window. Enter and Esc close it. UI thread only; it talks to no
// device.
class CSimulationDlg : public QDialog {
public:
    enum ControlId : int {
        kStartButton = 1000,
        kFrontScanButton = 1034,
        kBackScanButton = 1035,
        kMiddleScanButton = 1036,
    };

    static constexpr int kReceiversX = 192;
    static constexpr int kReceiversY = 108;
    // Scan directions, as the prepared geometry numbers them.
    static constexpr int kFront = 0;
    static constexpr int kMiddle = 1;
    static constexpr int kBack = 2;

    explicit CSimulationDlg(QWidget* parent = nullptr);
    ~CSimulationDlg() override;

    // Covers the screen that holds the main window.
    void OnInitDialog();

    void OnStart();
    // Inverts the switch of a scan direction.
    void ToggleScan(int direction);

    bool running() const { return running_; }
    bool scanOn(int direction) const { return scanOn_[direction]; }
    const SimulatedScanGeometry& scanGeometry() const { return geometry_; }
    float xScale() const { return xScale_; }
    float yScale() const { return yScale_; }

    // The view's picture (without its buttons) as the next paint shows it.
    QImage RenderPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CoverScreen();
    void PlaceButtons();
    void Measure();
    void PaintBeams(QPainter& painter) const;

    const SimulatedScanGeometry geometry_;
    QWidget& owner_;  // the window whose screen the view covers
    bool running_ = false;
    std::array<bool, SimulatedScanGeometry::kDirectionCount> scanOn_{true, true, true};
    float xScale_ = 1.0f;  // logical units per pixel
    float yScale_ = 1.0f;
    QPushButton startButton_;
    QPushButton frontButton_;
    QPushButton backButton_;
    QPushButton middleButton_;
    std::unique_ptr<ScreenOfWindow> screenOfOwner_;
};

}  // namespace zorvane
