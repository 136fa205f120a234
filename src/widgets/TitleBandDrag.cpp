#include "widgets/TitleBandDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace zorvane {

bool DragByTitleBand(QWidget& window, const QMouseEvent& press, int bandHeight)
{
    if (press.button() != Qt::LeftButton || press.position().y() >= bandHeight || !window.windowHandle())
        return false;
    window.windowHandle()->startSystemMove();
    return true;
}

}  // namespace zorvane
