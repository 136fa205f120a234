#include "pages/CCal9ViewDlg.h"

#include "calibration/NinePointTargets.h"
#include "widgets/Palette.h"

#include <QPainter>
#include <QPen>

namespace zorvane {
namespace {

const QColor kCrossColour(193, 213, 232);
constexpr int kCrossPenWidth = 2;
constexpr int kMarkerRadius = 15;
constexpr int kDiscRadius = 5;

bool blinkOn = true;  // flips at every paint, whichever screen object paints

}  // namespace

CCal9ViewDlg::CCal9ViewDlg(QWidget* parent, TargetPointerFactory pointer)
    : CTargetViewBaseDlg(parent, std::move(pointer), {kAnimationMs, NinePointScreenButtons})
{
    setObjectName(QStringLiteral("CCal9ViewDlg"));
}

void CCal9ViewDlg::Animate()
{
    const NinePointLayout layout(screenSize());
    for (int target = 0; target < NinePointLayout::kTargetCount; ++target)
        Repaint(layout.MarkerSquare(target));
}

void CCal9ViewDlg::PaintScreen(QPainter& painter)
{
    const NinePointLayout layout(screenSize());
    painter.setPen(QPen(kCrossColour, kCrossPenWidth));
    for (int target = 0; target < NinePointLayout::kTargetCount; ++target)
        DrawCross(painter, layout.CrossOf(target));

    painter.setPen(QPen(palette::kBlue, 1));
    if (blinkOn)
        DrawCircle(painter, layout.Centre(run_.session.activeTarget), kMarkerRadius);
    blinkOn = !blinkOn;
    for (int target = 0; target < NinePointLayout::kTargetCount; ++target)
        DrawDisc(painter, layout.Centre(target), kDiscRadius);
}

}  // namespace zorvane
