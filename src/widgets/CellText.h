#pragma once

#include <QColor>

class QPainter;
class QString;

namespace zorvane {

// Text whose cell (the font's full height) has its top-left corner at (x, y), on a box of `background`
// that covers what lies under it: the way the screens write their labels and values.
void DrawCellText(QPainter& painter, int x, int y, const QString& text, const QColor& ink = Qt::black,
                  const QColor& background = Qt::white);

}  // namespace zorvane
