#pragma once

#include <QImage>
#include <QSize>
#include <QTimer>

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
// threads. The interface thread looks for a new frame once per display refresh and then asks for one
// repaint, so however long it is busy, frames do not pile up: memory stays at three pictures. The
// worker posts nothing to the interface thread: all the two share is this object's lock and flag.
// Made, used and destroyed with the widget on the interface thread, apart from the worker's two calls.
class FrameHandOver {
public:
    // About one refresh of a 60 Hz display.
    static constexpr int kLookIntervalMs = 16;

    explicit FrameHandOver(QWidget& shownOn);

    // Worker: the picture to compose the next frame in, `size` pixels, RGB32. It holds an older frame
    // (or nothing): paint all of it.
    QImage& Canvas(QSize size);
    // Worker: the canvas becomes the newest frame, for the widget's next look.
    void Publish();

    // Interface thread, in the widget's paint event: the newest frame, left alone by the worker until
    // the next call; a null image before the first.
    const QImage& Newest();
    // Interface thread: asks the widget for a repaint when a frame came since it last took one. The
    // timer calls it every kLookIntervalMs.
    void LookForFrame();

private:
    QWidget& widget_;
    QTimer looks_;
    std::array<QImage, 3> canvases_;
    std::size_t composing_ = 0;  // the worker's; swapped by the worker only
    std::size_t shown_ = 1;      // the interface thread's; swapped by it only
    std::mutex lock_;
    std::size_t finished_ = 2;   // guarded by lock_
    std::atomic<bool> fresh_{false};  // written under lock_: finished_ holds a frame not shown yet
};

}  // namespace zorvane
