#pragma once

#include "pages/CTestViewBaseDlg.h"

namespace zorvane {

// The column charts over the whole screen that holds the main window, modal, with series of their own
// and acquiring from the start on the identification read before. Esc or a left double-click closes it
// once its worker has finished its step; Enter does nothing.
class CColumnZoomDlg : public CTestViewBaseDlg {
public:
    explicit CColumnZoomDlg(QWidget* parent);

    // Covers the screen, sizes the chart to it and starts acquiring.
    void OnInitDialog();

    // Every way the view closes passes here: the worker ends first.
    void done(int result) override;

protected:
    void OnLeftDoubleClick(QPoint position) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace zorvane
