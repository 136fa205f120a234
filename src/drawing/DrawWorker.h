#pragma once

#include "drawing/DrawingPicture.h"

#include <QImage>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zorvane {

class StrokeStore;

// The drawing test's worker thread: it composes a frame from the stroke store at once after news
// (input, a new style, size or clear) and otherwise every idle period, and hands each frame over. The
// picture is the worker's own (DrawingPicture); the hand-over is given it on the worker thread and must
// copy what it keeps and return without waiting for the interface thread, so the newest frame wins and
// frames never pile up. Settings and requests cross to the worker under one small lock and are taken
// together at the start of a frame, so a frame never mixes an old and a new style.
//
// Made, steered and stopped on one thread (the interface thread); the store and the hand-over must
// outlive Stop().
class DrawWorker {
public:
    using HandOver = std::function<void(const QImage& frame)>;
    static constexpr std::chrono::milliseconds kIdlePeriod{30};

    // Starts the thread at once; its first frame follows without a pause.
    DrawWorker(StrokeStore& store, QSize size, const DrawStyle& style, HandOver handOver,
               std::chrono::milliseconds idlePeriod = kIdlePeriod);
    ~DrawWorker();
    DrawWorker(const DrawWorker&) = delete;
    DrawWorker& operator=(const DrawWorker&) = delete;

    // Every stroke is painted again with this style in the next frame.
    void SetStyle(const DrawStyle& style);
    // The frames' size from the next frame on; the picture is painted afresh at it.
    void SetSize(QSize size);
    // The next frame forgets every stroke and shows bare paper.
    void RequestClear();
    // The store has new input: the next frame follows at once.
    void NotifyInput();

    // Ends the worker once it has finished the frame it is in, and waits for it; repeatable.
    void Stop();
    bool stopped() const { return !thread_.joinable(); }

private:
    void Run();
    // Under lock_: wakes the worker for the next frame.
    void Wake();

    StrokeStore& store_;
    const HandOver handOver_;
    const std::chrono::milliseconds idlePeriod_;
    DrawingPicture picture_;  // the worker's
    std::mutex lock_;
    std::condition_variable wake_;
    DrawingPicture::Requests requests_;  // guarded by lock_
    bool news_ = false;                  // guarded by lock_
    bool exitRequested_ = false;         // guarded by lock_
    std::thread thread_;                 // last: started once the rest is made
};

}  // namespace zorvane
