#pragma once

#include <QRect>
#include <QSize>

#include <functional>
#include <span>

class QWidget;

namespace zorvane {

class CMybutton;

// Names a bitmap button by its control id ("id1011"), puts it at `rect` and gives it the pictures of
// strip `strip`, each `picture` pixels (the button's own size when left out).
void PlaceButton(CMybutton& button, int id, const QRect& rect, int strip, QSize picture = {});

// One row of a window's button table.
struct ButtonPlace {
    int id;
    QRect rect;
    int strip;
    QSize picture = {};  // the button's own size when left out
};

// Makes `buttons` children of `owner` placed by `places` (one row each, in the same order) and tells
// `clicked` the control id of every click.
void PlaceButtons(std::span<CMybutton> buttons, std::span<const ButtonPlace> places, QWidget& owner,
                  const std::function<void(int id)>& clicked);

}  // namespace zorvane
