#include "pages/CColumnNormalDlg.h"

#include "pages/CColumnZoomDlg.h"
#include "protocol/DeviceProtocol.h"
#include "signal/ChartInfo.h"
#include "signal/StartAcquisition.h"

#include <QRect>

namespace zorvane {
namespace {

// Where the X side's parameters are drawn: a double-click there refreshes them.
const QRect kParameterArea(QPoint(765, 11), QPoint(CColumnNormalDlg::kWidth, 39));

}  // namespace

CColumnNormalDlg::CColumnNormalDlg(QWidget* parent)
    : CTestViewBaseDlg(parent, Qt::Widget)
{
    setObjectName(QStringLiteral("CColumnNormalDlg"));
    setWindowFlags(Qt::Widget);  // a page inside the main window: a dialog's constructor makes it a window
}

CColumnNormalDlg::~CColumnNormalDlg() { EndWorker(); }

void CColumnNormalDlg::OnInitDialog()
{
    chart().Layout(kWidth, kHeight);
    StartWorker();
}

void CColumnNormalDlg::EndWorker()
{
    if (chart().requests().acquiring())
        chart().requests().Stop();
    StopWorker();
}

void CColumnNormalDlg::OnLeftDoubleClick(QPoint position)
{
    if (kParameterArea.contains(position)) {
        chartInfo().Refresh(GetDeviceProtocol());  // the next frames show whatever it read
        return;
    }
    if (chart().requests().acquiring())
        RunZoomView();
}

// Only one chart may read at a time: this one's scan mode off has gone out before the zoom view's scan
// mode on, and the zoom view's worker has ended before this chart starts again.
void CColumnNormalDlg::RunZoomView()
{
    chart().requests().Stop();
    chart().requests().AwaitSent();
    {
        CColumnZoomDlg zoom(this);
        zoom.OnInitDialog();
        zoom.exec();
    }
    StartAcquisition(chart());  // a failure leaves the view idle
}

}  // namespace zorvane
