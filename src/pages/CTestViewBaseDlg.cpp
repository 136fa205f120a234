#include "pages/CTestViewBaseDlg.h"

#include "widgets/Palette.h"

#include <QMouseEvent>
#include <QPainter>

namespace zorvane {

CTestViewBaseDlg::CTestViewBaseDlg(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    setAttribute(Qt::WA_OpaquePaintEvent);  // the frame covers the whole view
    setMouseTracking(true);                 // the cursor column follows the mouse without a button held
}

CTestViewBaseDlg::~CTestViewBaseDlg() { StopWorker(); }

void CTestViewBaseDlg::StartWorker()
{
    worker_ = std::make_unique<ChartWorker>(chart_, [this](ScanChart& chart) { ComposeFrame(chart); });
}

void CTestViewBaseDlg::StopWorker()
{
    if (worker_)
        worker_->Stop();
}

void CTestViewBaseDlg::ComposeFrame(ScanChart& chart)
{
    const ChartFrame frame = chart.Frame();
    QImage& canvas = frames_.Canvas(QSize(frame.geometry.width, frame.geometry.height));
    {
        QPainter painter(&canvas);
        PaintChart(painter, frame, fonts_);
    }
    frames_.Publish();
}

void CTestViewBaseDlg::OnLeftDoubleClick(QPoint) {}

void CTestViewBaseDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    frames_.PaintNewest(painter, rect());
}

void CTestViewBaseDlg::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    chart_.TrackCursor(position.x(), position.y());
    QDialog::mouseMoveEvent(event);
}

void CTestViewBaseDlg::mouseDoubleClickEvent(QMouseEvent* event)
{
    switch (event->button()) {
    case Qt::RightButton:
        chart_.ToggleCursorMode();
        return;
    case Qt::LeftButton:
        OnLeftDoubleClick(event->position().toPoint());
        return;
    default:
        QDialog::mouseDoubleClickEvent(event);
        return;
    }
}

}  // namespace zorvane
