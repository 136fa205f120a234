#include "widgets/FrameHandOver.h"

#include <QMetaObject>
#include <QWidget>

#include <utility>

namespace zorvane {

FrameHandOver::FrameHandOver(QWidget& shownOn)
    : widget_(shownOn)
{
}

QImage& FrameHandOver::Canvas(QSize size)
{
    QImage& canvas = canvases_[composing_];
    if (canvas.size() != size)
        canvas = QImage(size, QImage::Format_RGB32);
    return canvas;
}

void FrameHandOver::Publish()
{
    {
        std::lock_guard guard(lock_);
        std::swap(composing_, finished_);  // a finished frame not shown yet is painted over next
        fresh_ = true;
    }
    if (repaintQueued_.exchange(true))
        return;
    // Dropped with the widget's other posted events should the widget go first.
    QMetaObject::invokeMethod(
        &widget_,
        [this] {
            repaintQueued_ = false;
            widget_.update();
        },
        Qt::QueuedConnection);
}

const QImage& FrameHandOver::Newest()
{
    std::lock_guard guard(lock_);
    if (fresh_) {
        std::swap(shown_, finished_);
        fresh_ = false;
    }
    return canvases_[shown_];
}

}  // namespace zorvane
