#include "widgets/FrameHandOver.h"

#include <QMetaObject>
#include <QWidget>

namespace zorvane {

FrameHandOver::FrameHandOver(QWidget& shownOn)
    : widget_(shownOn)
{
}

QImage& FrameHandOver::Canvas(QSize size)
{
    QImage& canvas = canvases_[next_];
    if (canvas.size() != size)
        canvas = QImage(size, QImage::Format_RGB32);
    return canvas;
}

void FrameHandOver::Publish()
{
    {
        std::lock_guard guard(lock_);
        // The canvas handed over before this one is released here, so it is free to compose into next.
        newest_ = canvases_[next_];
    }
    next_ ^= 1;
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

QImage FrameHandOver::Newest() const
{
    std::lock_guard guard(lock_);
    return newest_;
}

}  // namespace zorvane
