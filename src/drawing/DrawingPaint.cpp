#include "drawing/DrawingPaint.h"

#include <QImage>
#include <QPainter>
#include <QPen>

namespace zorvane {
namespace {

constexpr int kDotRadius = 4;

}  // namespace

void PaintPaper(QImage& picture, const DrawStyle& style)
{
    picture.fill(style.paper);
    if (!style.gridOn || style.gridSpacing <= 0)
        return;
    QPainter painter(&picture);
    for (int x = style.gridSpacing; x < picture.width(); x += style.gridSpacing)
        painter.fillRect(x, 0, 1, picture.height(), style.gridLine);
    for (int y = style.gridSpacing; y < picture.height(); y += style.gridSpacing)
        painter.fillRect(0, y, picture.width(), 1, style.gridLine);
}

void PaintInk(QImage& picture, const DrawStyle& style, const std::vector<InkPiece>& pieces)
{
    if (pieces.empty())
        return;
    QPainter painter(&picture);
    // Round ends and joins: a line painted in pieces is the same line painted at once.
    painter.setPen(QPen(style.penColour, style.lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (style.dotMode)
        painter.setBrush(style.penColour);
    for (const InkPiece& piece : pieces) {
        if (piece.path.size() > 1)
            painter.drawPolyline(piece.path.data(), static_cast<int>(piece.path.size()));
        if (!style.dotMode)
            continue;
        // The first point of a piece that continues a stroke has its dot already.
        for (std::size_t index = piece.fromStart ? 0 : 1; index < piece.path.size(); ++index)
            painter.drawEllipse(piece.path[index], kDotRadius, kDotRadius);
    }
}

}  // namespace zorvane
