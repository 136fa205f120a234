#include "pages/EmptyPage.h"

#include "widgets/Palette.h"

#include <QPainter>

namespace zorvane {

EmptyPage::EmptyPage(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void EmptyPage::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), palette::kPageBackground);
}

}  // namespace zorvane
