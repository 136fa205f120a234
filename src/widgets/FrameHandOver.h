#pragma once

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QSize>

#include <array>
#include <cstddef>
#include <mutex>

class QPainter;
class QRect;
class QWidget;

namespace zorvane {

// Frames composed on a worker thread and shown by a widget on the interface thread, newest first.
// The worker paints the next frame into Canvas() and hands it over with Publish(); the widget's paint
// event draws Newest(). Three canvases change hands: the worker's, the newest finished one, and the one
// on screen, so neither side ever touches a picture the other is using and no picture is shared between
// threads. However long the interface thread is busy, frames do not pile up: memory stays at three
// pictures and one repaint request at most waits for the interface thread.
//
// The request is posted to this object under its lock and taken under it before it is looked at, so
// the lock orders everything the two threads share, the request itself included (how Qt's queue
// hands it over is invisible to a race checker). Made, used and destroyed with the widget on the interface thread, apart from the worker's
// two calls; the widget must outlive the worker's last Publish().
class FrameHandOver : public QObject {
public:
    explicit FrameHandOver(QWidget& shownOn);

    // Worker: the picture to compose the next frame in, `size` pixels, RGB32. It holds an older frame
    // (or nothing): paint all of it.
    QImage& Canvas(QSize size);
    // Worker: the canvas becomes the newest frame and the widget is asked to repaint.
    void Publish();

    // Interface thread, in the widget's paint event: the newest frame, left alone by the worker until
    // the next call; a null image before the first.
    const QImage& Newest();
    // Interface thread, in the paint event: draws Newest() at the top left, or fills `area` with the
    // page background until the worker's first frame.
    void PaintNewest(QPainter& painter, const QRect& area);

protected:
    // Takes the repaint requests, which are posted to this object.
    bool event(QEvent* event) override;

private:
    QWidget& widget_;
    std::array<QImage, 3> canvases_;
    std::size_t composing_ = 0;  // the worker's; swapped by the worker only
    std::size_t shown_ = 1;      // the interface thread's; swapped by it only
    std::mutex lock_;
    std::size_t finished_ = 2;      // guarded by lock_
    bool fresh_ = false;            // guarded by lock_: finished_ holds a frame not shown yet
    bool repaintRequested_ = false;  // guarded by lock_
};

}  // namespace zorvane
