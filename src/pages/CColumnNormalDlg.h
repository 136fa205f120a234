#pragma once

#include "pages/CTestViewBaseDlg.h"

namespace zorvane {

// The column chart page beside the selection panel: 854 x 584, its worker started idle when the page is
// made. A left double-click on the X side's parameters reads the frame's identification again; anywhere
// else while acquiring it opens the zoom view, acquisition moving there and back.
class CColumnNormalDlg : public CTestViewBaseDlg {
public:
    static constexpr int kWidth = 854;
    static constexpr int kHeight = 584;

    explicit CColumnNormalDlg(QWidget* parent = nullptr);
    ~CColumnNormalDlg() override;

    // Sizes the chart and starts the worker, idle.
    void OnInitDialog();
    // The program ends: acquisition stops (scan mode off goes out), then the worker ends.
    void EndWorker();

protected:
    void OnLeftDoubleClick(QPoint position) override;

private:
    void RunZoomView();
};

}  // namespace zorvane
