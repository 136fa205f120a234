// The column charts' cost per frame: composing a frame on the worker (all four series on a 192 x 108
// receiver frame) for the normal view (854 x 584) and the zoom view (1920 x 1080), the interface
// thread's blit of a finished frame, and the process CPU of an idle chart page (about three frames a
// second). Goals: composition under 1.5 ms and 4 ms, so that drawing stays below a tenth of an
// acquisition cycle; the zoom view's blit under 0.5 ms; the idle page under 1 % of a core.
// Offscreen unless QT_QPA_PLATFORM names a platform.

#include "pages/CColumnNormalDlg.h"
#include "pages/PaintChart.h"
#include "signal/ChartInfo.h"
#include "signal/ScanSelection.h"

#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include "WidgetBenchMain.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <cstdint>
#include <cstring>

namespace zorvane {
namespace {

constexpr int kXReceivers = 192;
constexpr int kYReceivers = 108;

QSize ViewSize(std::int64_t view) { return view == 0 ? QSize(854, 584) : QSize(1920, 1080); }

// Readings around the simulated frame's levels: most well above twice the threshold, some weak.
ScanSeries Readings(int count, int base)
{
    ScanSeries series;
    for (int i = 0; i < count; ++i)
        series.push_back(i % 37 == 0 ? 50 : base + (i * 7919) % 40);
    return series;
}

DeviceInfo FrameInfo()
{
    DeviceInfo info;
    info.xReceiverCount = kXReceivers;
    info.yReceiverCount = kYReceivers;
    info.straightThreshold = 40;
    info.obliqueThreshold = 30;
    info.firmwareVersionText = "0316";
    info.secondVersionText = "0102";
    info.modelText = "ZV-IR65T";
    info.identificationCode = "5A3C";
    info.maxTouchPointsText = "20(F)";
    info.xBoards = {64, 64, 64};
    info.yBoards = {48, 48, 12};
    return info;
}

ChartFrame FullFrame(QSize size)
{
    ChartFrame frame;
    frame.info = FrameInfo();
    LayoutChart(frame.geometry, size.width(), size.height());
    PrepareChartGeometry(frame.geometry, frame.info);
    frame.selection = {.value = true, .fluctuation = true, .power = true, .standard = true};
    frame.data = {Readings(kXReceivers, 140), Readings(kYReceivers, 140), Readings(kXReceivers, 8),
                  Readings(kYReceivers, 8),   Readings(kXReceivers, 90),  Readings(kYReceivers, 90),
                  Readings(kXReceivers, 120), Readings(kYReceivers, 120)};
    return frame;
}

void BM_ComposeChartFrame(benchmark::State& state)
{
    const ChartFrame frame = FullFrame(ViewSize(state.range(0)));
    const ChartFonts fonts = ChartFonts::Make();
    QImage canvas(ViewSize(state.range(0)), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&canvas);
        PaintChart(painter, frame, fonts);
    }
    state.SetLabel(state.range(0) == 0 ? "normal view 854 x 584" : "zoom view 1920 x 1080");
}
BENCHMARK(BM_ComposeChartFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What the view's paint event does with a finished frame, onto a window surface of the same format.
void BM_BlitFrame(benchmark::State& state)
{
    QImage frame(ViewSize(state.range(0)), QImage::Format_RGB32);
    frame.fill(Qt::darkCyan);
    QImage surface(frame.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&surface);
        painter.drawImage(0, 0, frame);
    }
    state.SetLabel(state.range(0) == 0 ? "normal view 854 x 584" : "zoom view 1920 x 1080");
}
BENCHMARK(BM_BlitFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The floor of any blit: copying the frame's bytes once.
void BM_CopyFrameBytes(benchmark::State& state)
{
    const QImage frame(ViewSize(state.range(0)), QImage::Format_RGB32);
    QImage surface(frame.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        std::memcpy(surface.bits(), frame.constBits(), static_cast<std::size_t>(frame.sizeInBytes()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyFrameBytes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The chart page shown and idle, its last series on screen, for ten seconds of wall time.
void BM_IdleChartPageCpu(benchmark::State& state)
{
    CColumnNormalDlg view;
    view.OnInitDialog();
    chartInfo().set(FrameInfo());
    view.chart().PrepareGeometry(FrameInfo());  // as a start leaves it, without the frame's traffic
    view.chart().Publish(FullFrame(ViewSize(0)).data);
    SetScanSelection({.value = true, .power = true});
    view.show();
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
        state.counters["cpu %"] = 100 * (ProcessCpuSeconds() - cpuBefore) / wall.count();
    }
    view.EndWorker();
}
BENCHMARK(BM_IdleChartPageCpu)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace zorvane

int main(int argc, char** argv) { return zorvane::RunBenchmarksWithApplication(argc, argv); }
