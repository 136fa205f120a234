// The drawing worker on its own thread: frames follow input at once, concurrent input and style
// changes end in the same picture as drawn at once, and the worker ends on request.
#include "drawing/DrawWorker.h"
#include "drawing/StrokeStore.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zorvane {
namespace {

using namespace std::chrono_literals;
using namespace touch_flag;

// Far beyond any frame, also under the sanitizers: only a frame that never comes reaches it.
constexpr auto kBound = 30s;
// So long that no frame comes of it in a test: what a test sees came of news.
constexpr std::chrono::milliseconds kNeverIdle = 24h;

const QSize kSize(200, 100);
const QColor kRed(240, 64, 30);
const QColor kBlue(25, 134, 199);
const DrawStyle kStyle{.lineWidth = 3, .penColour = kRed, .paper = QColor(241, 248, 252), .gridLine = QColor(216, 224, 230)};

// Keeps a copy of the newest frame handed over, as the window does.
class FrameSink {
public:
    DrawWorker::HandOver HandOver()
    {
        return [this](const QImage& frame) {
            {
                std::lock_guard guard(lock_);
                newest_ = frame.copy();
                ++frames_;
            }
            arrived_.notify_all();
        };
    }

    // Waits until the newest frame satisfies `shows`; false after the bound.
    bool WaitFor(const std::function<bool(const QImage&)>& shows)
    {
        std::unique_lock guard(lock_);
        return arrived_.wait_for(guard, kBound, [&] { return frames_ > 0 && shows(newest_); });
    }
    bool WaitForFrames(int count)
    {
        std::unique_lock guard(lock_);
        return arrived_.wait_for(guard, kBound, [&] { return frames_ >= count; });
    }

private:
    std::mutex lock_;
    std::condition_variable arrived_;
    QImage newest_;
    int frames_ = 0;
};

auto Shows(QPoint at, QColor colour)
{
    return [at, colour](const QImage& frame) { return frame.pixelColor(at) == colour; };
}

TEST(DrawWorker, InputIsComposedAtOnceWithoutWaitingForTheIdlePeriod)
{
    StrokeStore store;
    FrameSink sink;
    DrawWorker worker(store, kSize, kStyle, sink.HandOver(), kNeverIdle);
    ASSERT_TRUE(sink.WaitForFrames(1)) << "the first frame comes at once";

    store.Touch(1, {20, 50}, kDown);
    store.Touch(1, {180, 50}, kMove);
    worker.NotifyInput();
    EXPECT_TRUE(sink.WaitFor(Shows({100, 50}, kRed)));

    worker.SetStyle({kStyle.lineWidth, false, 20, kBlue, false, kStyle.paper, kStyle.gridLine});
    EXPECT_TRUE(sink.WaitFor(Shows({100, 50}, kBlue))) << "a new style is news too";
    worker.RequestClear();
    EXPECT_TRUE(sink.WaitFor(Shows({100, 50}, kStyle.paper)));
}

TEST(DrawWorker, WithoutNewsItComposesEveryIdlePeriod)
{
    StrokeStore store;
    FrameSink sink;
    DrawWorker worker(store, kSize, kStyle, sink.HandOver(), 1ms);
    EXPECT_TRUE(sink.WaitForFrames(3));
    worker.Stop();
    EXPECT_TRUE(worker.stopped());
}

// Two fingers drawing on another thread while the pen changes: once the input has ended, the frame
// shows exactly what one picture painted at once from the same input shows.
TEST(DrawWorker, ConcurrentInputAndStyleChangesEndInTheSamePictureAsDrawnAtOnce)
{
    StrokeStore store;
    StrokeStore reference;
    FrameSink sink;
    DrawWorker worker(store, kSize, kStyle, sink.HandOver());
    const auto touch = [&](StrokeStore::ContactId contact, QPoint at, int flags) {
        store.Touch(contact, at, flags);
        reference.Touch(contact, at, flags);
        worker.NotifyInput();
    };
    std::thread fingers([&] {
        for (int stroke = 0; stroke < 40; ++stroke) {
            for (StrokeStore::ContactId contact : {1u, 2u}) {
                const int y = static_cast<int>(contact) * 30 + stroke % 20;
                touch(contact, {5, y}, kDown);
                for (int x = 10; x < 195; x += 5)
                    touch(contact, {x, y + x % 7}, kMove);
                touch(contact, {195, y}, stroke % 3 ? kUp : kMove);
            }
        }
    });
    DrawStyle style = kStyle;
    for (int change = 0; change < 20; ++change) {
        style.lineWidth = 1 + change % 5;
        style.penColour = change % 2 ? kBlue : kRed;
        worker.SetStyle(style);
        std::this_thread::yield();
    }
    fingers.join();
    worker.NotifyInput();

    DrawingPicture atOnce;
    const QImage expected = atOnce.Compose(reference, {kSize, style}).copy();
    EXPECT_TRUE(sink.WaitFor([&](const QImage& frame) { return frame == expected; }));
}

}  // namespace
}  // namespace zorvane
