#pragma once

#include <QImage>
#include <QSize>

#include <array>
#include <atomic>
#include <mutex>

class QWidget;

namespace zorvane {

// Frames composed on a worker thread and shown by a widget on the interface thread, newest first.
// The worker paints the next frame into Canvas() and hands it over with Publish(); the widget's paint
// event blits Newest(). Two canvases take turns, so the frame being composed is never the one shown,
// and however long the interface thread is busy, frames do not pile up: memory stays at two images
// and at most one repaint is queued at a time. The widget must outlive the worker's last Publish().
class FrameHandOver {
public:
    explicit FrameHandOver(QWidget& shownOn);

    // Worker: the picture to compose the next frame in, `size` pixels, RGB32. Its content is a frame
    // from two turns ago (or nothing): paint all of it.
    QImage& Canvas(QSize size);
    // Worker: the canvas becomes the newest frame; the widget repaints once the interface thread gets
    // to it.
    void Publish();

    // Interface thread: the newest frame; a null image before the first.
    QImage Newest() const;

private:
    QWidget& widget_;
    std::array<QImage, 2> canvases_;  // worker only
    std::size_t next_ = 0;            // worker only
    mutable std::mutex lock_;
    QImage newest_;  // guarded by lock_
    std::atomic<bool> repaintQueued_{false};
};

}  // namespace zorvane
