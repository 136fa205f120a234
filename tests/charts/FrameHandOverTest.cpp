// Frames handed from a worker thread to a widget: the newest wins and nothing piles up.
#include "TestApplication.h"
#include "widgets/FrameHandOver.h"

#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace zorvane {
namespace {

const QSize kSize(64, 32);

// A widget that shows the newest frame and counts its paints.
class FrameWidget : public QWidget {
public:
    FrameWidget() { setAttribute(Qt::WA_OpaquePaintEvent); }

    FrameHandOver frames{*this};
    int paints = 0;
    QColor shown;

protected:
    void paintEvent(QPaintEvent*) override
    {
        ++paints;
        const QImage& frame = frames.Newest();
        shown = frame.isNull() ? QColor() : frame.pixelColor(0, 0);
    }
};

void ComposeAndPublish(FrameHandOver& frames, int frame, std::set<const uchar*>* canvases = nullptr)
{
    QImage& canvas = frames.Canvas(kSize);
    canvas.fill(QColor(frame % 256, 0, 0));
    if (canvases)
        canvases->insert(canvas.constBits());
    frames.Publish();
}

TEST(FrameHandOver, ABusyInterfaceThreadPaintsOnlyTheNewestFrameOnce)
{
    testing::TestApplication();
    FrameWidget widget;
    widget.resize(kSize);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QCoreApplication::processEvents();
    const int paintsBefore = widget.paints;

    std::set<const uchar*> canvases;
    std::thread worker([&] {
        for (int frame = 1; frame <= 100; ++frame)
            ComposeAndPublish(widget.frames, frame, &canvases);
    });
    worker.join();
    EXPECT_EQ(canvases.size(), 2u) << "with the interface thread away, two canvases take turns";

    // Until the paint, and a little beyond: what comes after it is not a second repaint.
    const auto settle = [&widget](int paints) {
        const bool painted = QTest::qWaitFor([&] { return widget.paints >= paints; }, 10000);
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
        return painted;
    };
    ASSERT_TRUE(settle(paintsBefore + 1));
    EXPECT_EQ(widget.paints, paintsBefore + 1) << "one repaint however many frames came";
    EXPECT_EQ(widget.shown, QColor(100, 0, 0));

    ComposeAndPublish(widget.frames, 101);
    ASSERT_TRUE(settle(paintsBefore + 2));
    EXPECT_EQ(widget.paints, paintsBefore + 2);
    EXPECT_EQ(widget.shown, QColor(101, 0, 0));
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
    }
    worker.join();
}

}  // namespace
}  // namespace zorvane
