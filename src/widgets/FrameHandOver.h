#pragma once

#include <QImage>
#include <QSize>

#include <array>
#include <atomic>
#include <cstddef>
#include <mutex>

class QWidget;

namespace zorvane {

// Frames composed on a worker thread and shown by a widget on the interface thread, newest first.
// The worker paints the next frame into Canvas() and hands it over with Publish(); the widget's paint
// event draws Newest(). Three canvases change hands: the worker's, the newest finished one, and the one
// on screen, so neither side ever touches a picture the other is using and no picture is shared between
// threads. However long the interface thread is busy, frames do not pile up: memory stays at three
// pictures and at most one repaint is queued at a time. The widget must outlive the worker's last
// Publish().
class FrameHandOver {
public:
    explicit FrameHandOver(QWidget& shownOn);

    // Worker: the picture to compose the next frame in, `size` pixels, RGB32. It holds an older frame
    // (or nothing): paint all of it.
    QImage& Canvas(QSize size);
    // Worker: the canvas becomes the newest frame; the widget repaints once the interface thread gets
    // to it.
    void Publish();

    // Interface thread: the newest frame, left alone by the worker until the next call; a null image
    // before the first.
    const QImage& Newest();

private:
    QWidget& widget_;
    std::array<QImage, 3> canvases_;
    std::size_t composing_ = 0;  // the worker's; swapped by the worker only
    std::size_t shown_ = 1;      // the interface thread's; swapped by it only
    std::mutex lock_;
    std::size_t finished_ = 2;   // guarded by lock_
    bool fresh_ = false;         // guarded by lock_: finished_ holds a frame not shown yet
    std::atomic<bool> repaintQueued_{false};
};

}  // namespace zorvane
