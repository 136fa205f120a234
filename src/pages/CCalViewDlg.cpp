#include "pages/CCalViewDlg.h"

#include "calibration/TwoPointTargets.h"
#include "widgets/Palette.h"

#include <QPainter>
#include <QPen>

namespace zorvane {
namespace {

constexpr TwoPointTarget kTargets[] = {TwoPointTarget::TopLeft, TwoPointTarget::BottomRight};
const QColor kCrossColour(193, 213, 232);
constexpr int kDiscRadius = 5;

}  // namespace

CCalViewDlg::CCalViewDlg(QWidget* parent, TargetPointerFactory pointer)
    : CTargetViewBaseDlg(parent, std::move(pointer), {kAnimationMs, TwoPointScreenButtons})
{
    setObjectName(QStringLiteral("CCalViewDlg"));
}

void CCalViewDlg::Animate()
{
    ringCount_ = NextRingCount(ringCount_);
    for (TwoPointTarget target : kTargets)
        Repaint(RepaintArea(target, screenSize()));
}

void CCalViewDlg::PaintScreen(QPainter& painter)
{
    const ScreenSize screen = screenSize();
    painter.setPen(QPen(kCrossColour, 1));
    for (TwoPointTarget target : kTargets)
        DrawCross(painter, CrossOf(target, screen));

    painter.setPen(QPen(palette::kBlue, 1));
    const ScreenPoint active = TargetCentre(run_.session.activeTarget, screen);
    for (int ring = 0; ring < ringCount_; ++ring)
        DrawCircle(painter, active, RingRadius(ring));
    for (TwoPointTarget target : kTargets)
        DrawDisc(painter, TargetCentre(target, screen), kDiscRadius);
}

}  // namespace zorvane
