// The drawing test's worker at 1920 x 1080: the cost of one frame (the new ink of ten strokes in
// progress, then the copy that hands the frame over) against 0, 1 000 and 10 000 finished strokes, and
// the time from a touch input to the hand-over of the frame that shows it. Goals: a flat frame cost
// under 6 ms, and a touch shown within one frame, with no 30 ms idle pause after input.

#include "drawing/DrawWorker.h"
#include "drawing/DrawingPicture.h"
#include "drawing/StrokeStore.h"

#include <QColor>
#include <QImage>

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace zorvane {
namespace {

using namespace touch_flag;

const QSize kScreen(1920, 1080);
constexpr int kInProgress = 10;
constexpr int kPointsPerFinishedStroke = 20;

const DrawStyle kStyle{.lineWidth = 3,
                       .gridOn = true,
                       .gridSpacing = 20,
                       .penColour = QColor(240, 64, 30),
                       .paper = QColor(241, 248, 252),
                       .gridLine = QColor(216, 224, 230)};

// Strokes lifted all over the screen, short wavy lines as fingers leave them.
void AddFinishedStrokes(StrokeStore& store, int count)
{
    for (int stroke = 0; stroke < count; ++stroke) {
        const StrokeStore::ContactId contact = 100 + static_cast<StrokeStore::ContactId>(stroke);
        const QPoint start((stroke * 7919) % 1800, (stroke * 104729) % 1000);
        store.Touch(contact, start, kDown);
        for (int point = 1; point < kPointsPerFinishedStroke; ++point)
            store.Touch(contact, start + QPoint(point * 5, (point * 3) % 11), kMove);
        store.Touch(contact, start + QPoint(kPointsPerFinishedStroke * 5, 0), kUp);
    }
}

void BM_FrameWithTenStrokesInProgress(benchmark::State& state)
{
    StrokeStore store;
    DrawingPicture picture;
    AddFinishedStrokes(store, static_cast<int>(state.range(0)));
    for (int contact = 0; contact < kInProgress; ++contact)
        store.Touch(contact, {10, 50 + contact * 100}, kDown);
    picture.Compose(store, {kScreen, kStyle});
    QImage handedOver(kScreen, QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        ++step;
        for (int contact = 0; contact < kInProgress; ++contact)
            store.Touch(contact, {10 + step % 1900, 50 + contact * 100 + step % 37}, kMove);
        const QImage& frame = picture.Compose(store, {kScreen, kStyle});
        std::memcpy(handedOver.bits(), frame.constBits(), static_cast<std::size_t>(frame.sizeInBytes()));
        benchmark::DoNotOptimize(handedOver.constBits());
    }
}
BENCHMARK(BM_FrameWithTenStrokesInProgress)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A new pen or Z paints every stroke again, once.
void BM_RepaintEveryStroke(benchmark::State& state)
{
    StrokeStore store;
    DrawingPicture picture;
    AddFinishedStrokes(store, static_cast<int>(state.range(0)));
    DrawStyle style = kStyle;
    for (auto _ : state) {
        style.lineWidth = style.lineWidth == 3 ? 4 : 3;
        benchmark::DoNotOptimize(picture.Compose(store, {kScreen, style}).constBits());
    }
}
BENCHMARK(BM_RepaintEveryStroke)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Waits on the worker's hand-over for the frame that shows a given pixel as ink.
class InkWatch {
public:
    DrawWorker::HandOver HandOver()
    {
        return [this](const QImage& frame) {
            std::lock_guard guard(lock_);
            if (!watched_.isNull() && frame.pixelColor(watched_) == kStyle.penColour) {
                watched_ = QPoint();
                shown_.notify_all();
            }
        };
    }
    void Watch(QPoint at)
    {
        std::lock_guard guard(lock_);
        watched_ = at;
    }
    void WaitShown()
    {
        std::unique_lock guard(lock_);
        shown_.wait(guard, [this] { return watched_.isNull(); });
    }

private:
    std::mutex lock_;
    std::condition_variable shown_;
    QPoint watched_;  // null: nothing watched
};

void BM_TouchToHandOver(benchmark::State& state)
{
    StrokeStore store;
    InkWatch watch;
    DrawWorker worker(store, kScreen, kStyle, watch.HandOver());
    constexpr int kColumns = 300;
    constexpr int kRows = 170;
    int touch = 0;
    for (auto _ : state) {
        // A short stroke at a spot not inked before; the screen is cleared once every spot is used.
        const int spot = touch++ % (kColumns * kRows);
        if (spot == 0 && touch > 1)
            worker.RequestClear();
        const QPoint at(10 + 6 * (spot % kColumns), 10 + 6 * (spot / kColumns));
        store.Touch(1, at, kDown);
        watch.Watch(at + QPoint(3, 0));
        const auto start = std::chrono::steady_clock::now();
        store.Touch(1, at + QPoint(3, 0), kMove);
        worker.NotifyInput();
        watch.WaitShown();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_TouchToHandOver)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorvane

BENCHMARK_MAIN();
