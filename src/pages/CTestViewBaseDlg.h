#pragma once

#include "pages/PaintChart.h"
#include "signal/ChartWorker.h"
#include "signal/ScanChart.h"
#include "widgets/FrameHandOver.h"

#include <QDialog>

#include <memory>

namespace zorvane {

// What both column chart views share: a chart (series, requests, geometry, cursor), its worker, which
// composes every frame off-screen on its own thread, and the newest frame, which the interface thread
// blits in one go. The mouse steers the column cursor: moves follow the column under it while the
// cursor mode is on, a right double-click switches the mode. The worker is stopped (its step finished)
// before the view goes.
class CTestViewBaseDlg : public QDialog {
public:
    ~CTestViewBaseDlg() override;

    ScanChart& chart() { return chart_; }
    // A copy of the newest frame composed, null before the first one. Interface thread.
    QImage ShownFrame() { return frames_.Newest().copy(); }
    // Ends the worker once it has finished its step (the requests raised before still go out);
    // returns at once when it has ended already. Interface thread.
    void StopWorker();

protected:
    CTestViewBaseDlg(QWidget* parent, Qt::WindowFlags flags);

    // Starts the worker on the chart as laid out; idle until acquisition starts.
    void StartWorker();
    // A left double-click at `position`; nothing by default.
    virtual void OnLeftDoubleClick(QPoint position);

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ComposeFrame(ScanChart& chart);  // worker thread

    ScanChart chart_;
    const ChartFonts fonts_ = ChartFonts::Make();
    FrameHandOver frames_{*this};
    std::unique_ptr<ChartWorker> worker_;  // last: stopped before the members it uses go
};

}  // namespace zorvane
