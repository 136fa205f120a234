#include "widgets/FrameHandOver.h"

#include <QWidget>

#include <utility>

namespace zorvane {

FrameHandOver::FrameHandOver(QWidget& shownOn)
    : widget_(shownOn)
{
    looks_.setInterval(kLookIntervalMs);
    QObject::connect(&looks_, &QTimer::timeout, &widget_, [this] { LookForFrame(); });
    looks_.start();
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
    std::lock_guard guard(lock_);
    std::swap(composing_, finished_);  // a finished frame not shown yet is painted over next
    fresh_ = true;
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

void FrameHandOver::LookForFrame()
{
    // Repeated requests before the paint come to one; a hidden widget is not painted at all.
    if (fresh_ && widget_.isVisible())
        widget_.update();
}

}  // namespace zorvane
