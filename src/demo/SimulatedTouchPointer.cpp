#include "demo/SimulatedTouchPointer.h"

#include "widgets/Palette.h"

#include <QPainter>
#include <QPen>

#include <utility>

namespace zorvane {
namespace {

constexpr int kMarkerRadius = 4;
constexpr int kMarkerReach = 8;

}  // namespace

SimulatedTouchPointer::SimulatedTouchPointer(std::shared_ptr<SimulatedHidBackend> frame, Sink sink)
    : frame_(std::move(frame))
    , sink_(std::move(sink))
{
    reportTimer_.setInterval(kReportMs);
    QObject::connect(&reportTimer_, &QTimer::timeout, [this] { ReportNow(); });
}

void SimulatedTouchPointer::MousePressed(ScreenPoint at)
{
    finger_ = at;
    reported_.reset();
    reportTimer_.start();
    ReportNow();
}

void SimulatedTouchPointer::MouseMoved(ScreenPoint to)
{
    if (!finger_)
        return;
    finger_ = to;
    ReportNow();
}

void SimulatedTouchPointer::MouseReleased()
{
    reportTimer_.stop();
    finger_.reset();
    if (!reported_)
        return;
    reported_.reset();
    sink_.release();
    sink_.repaint();
}

// The first report of a finger is its press; the frame sends nothing while the report stays put.
void SimulatedTouchPointer::ReportNow()
{
    if (!finger_)
        return;
    const std::optional<ScreenPoint> now =
        frame_->frame().ReportTouch({static_cast<double>(finger_->x), static_cast<double>(finger_->y)});
    if (!now || now == reported_)
        return;
    const bool pressing = !reported_;
    reported_ = now;
    if (pressing)
        sink_.press(*now);
    else
        sink_.move(*now);
    sink_.repaint();
}

void SimulatedTouchPointer::PaintOverlay(QPainter& painter) const
{
    if (!reported_)
        return;
    const QPoint at(reported_->x, reported_->y);
    painter.setPen(QPen(palette::kRed, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, kMarkerRadius, kMarkerRadius);
    painter.drawLine(at - QPoint(kMarkerReach, 0), at + QPoint(kMarkerReach, 0));
    painter.drawLine(at - QPoint(0, kMarkerReach), at + QPoint(0, kMarkerReach));
}

}  // namespace zorvane
