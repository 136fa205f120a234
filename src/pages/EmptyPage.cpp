#include "pages/EmptyPage.h"

#include <QColor>
#include <QPainter>

namespace zorvane {

EmptyPage::EmptyPage(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void EmptyPage::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), QColor(241, 248, 252));
}

}  // namespace zorvane
