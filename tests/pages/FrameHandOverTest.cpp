// Frames handed from a worker thread to a widget: the newest wins and nothing piles up.
#include "TestApplication.h"
#include "widgets/FrameHandOver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace zorvane {
namespace {

// Counts the calls queued on the widget: every repaint the hand-over asks for is one.
class CallCounter : public QObject {
public:
    int calls = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        calls += event->type() == QEvent::MetaCall;
        return false;
    }
};

const QSize kSize(64, 32);

void ComposeAndPublish(FrameHandOver& frames, int frame, std::set<const uchar*>* canvases = nullptr)
{
    QImage& canvas = frames.Canvas(kSize);
    canvas.fill(QColor(frame % 256, 0, 0));
    if (canvases)
        canvases->insert(canvas.constBits());
    frames.Publish();
}

TEST(FrameHandOver, ABusyInterfaceThreadSeesOnlyTheNewestFrameAndOneRepaint)
{
    testing::TestApplication();
    QWidget widget;
    CallCounter counter;
    widget.installEventFilter(&counter);
    FrameHandOver frames(widget);
    EXPECT_TRUE(frames.Newest().isNull());

    std::set<const uchar*> canvases;
    std::thread worker([&] {
        for (int frame = 1; frame <= 100; ++frame)
            ComposeAndPublish(frames, frame, &canvases);
    });
    worker.join();
    QCoreApplication::processEvents();

    EXPECT_EQ(counter.calls, 1) << "one repaint however many frames came";
    EXPECT_EQ(frames.Newest().pixelColor(0, 0), QColor(100, 0, 0));
    EXPECT_EQ(canvases.size(), 2u) << "with the interface thread away, two canvases take turns";

    ComposeAndPublish(frames, 101);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.calls, 2) << "the next frame asks again";
}

// The interface thread holds on to a frame while the worker goes on: what it holds never changes.
TEST(FrameHandOver, AFrameBeingShownIsNeverPaintedOver)
{
    testing::TestApplication();
    QWidget widget;
    FrameHandOver frames(widget);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int frame = 0; frame < 2000; ++frame)
            ComposeAndPublish(frames, frame);
        done = true;
    });
    while (!done) {
        const QImage& shown = frames.Newest();
        if (shown.isNull())
            continue;
        const QColor first = shown.pixelColor(0, 0);
        EXPECT_EQ(shown.pixelColor(kSize.width() - 1, kSize.height() - 1), first);
        EXPECT_EQ(shown.pixelColor(0, 0), first);
        QCoreApplication::processEvents();
    }
    worker.join();
}

}  // namespace
}  // namespace zorvane
