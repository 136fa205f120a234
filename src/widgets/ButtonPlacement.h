#pragma once

#include <QRect>
#include <QSize>

namespace zorvane {

class CMybutton;

// Names a bitmap button by its control id ("id1011"), puts it at `rect` and gives it the pictures of
// strip `strip`, each `picture` pixels (the button's own size when left out).
void PlaceButton(CMybutton& button, int id, const QRect& rect, int strip, QSize picture = {});

}  // namespace zorvane
