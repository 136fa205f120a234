#include "widgets/FrameHandOver.h"

#include "widgets/Palette.h"

#include <QCoreApplication>
#include <QPainter>
#include <QWidget>

#include <utility>

namespace zorvane {
namespace {

const QEvent::Type kRepaintRequest = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

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
    std::lock_guard guard(lock_);
    std::swap(composing_, finished_);  // a finished frame not shown yet is painted over next
    fresh_ = true;
    if (std::exchange(repaintRequested_, true))
        return;
    // Dropped with this object's other posted events should it go first.
    QCoreApplication::postEvent(this, new QEvent(kRepaintRequest));
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

bool FrameHandOver::event(QEvent* event)
{
    std::unique_lock guard(lock_);  // before the request is read: it was made under the lock
    if (event->type() != kRepaintRequest) {
        guard.unlock();
        return QObject::event(event);
    }
    repaintRequested_ = false;
    guard.unlock();
    widget_.update();  // a hidden widget is not painted
    return true;
}

void FrameHandOver::PaintNewest(QPainter& painter, const QRect& area)
{
    const QImage& frame = Newest();
    if (frame.isNull())
        painter.fillRect(area, palette::kPageBackground);
    else
        painter.drawImage(0, 0, frame);
}

}  // namespace zorvane
