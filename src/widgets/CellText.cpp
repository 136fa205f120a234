#include "widgets/CellText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

namespace zorvane {

void DrawCellText(QPainter& painter, int x, int y, const QString& text, const QColor& ink, const QColor& background)
{
    const QFontMetrics metrics(painter.font());
    painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), background);
    painter.setPen(ink);
    painter.drawText(x, y + metrics.ascent(), text);
}

}  // namespace zorvane
