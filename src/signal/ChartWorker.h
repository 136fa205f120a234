#pragma once

#include <functional>
#include <thread>

namespace zorvane {

class ScanChart;

// The thread that keeps one chart alive: each cycle draws (the chart view's callback, on this
// thread) and then runs one AcquisitionStep, until the chart's exit request is raised. Requests
// raised before the exit still go out as the worker ends, so a stop right before closing leaves
// the frame out of scan mode. The chart's exit request stays raised, so a chart has one worker in
// its life.
class ChartWorker {
public:
    // Composes and hands over one frame, typically from chart.Frame(); runs on the worker thread and
    // must not wait for the interface thread.
    using DrawStep = std::function<void(ScanChart&)>;

    // Starts the thread at once.
    ChartWorker(ScanChart& chart, DrawStep draw);
    // Stop.
    ~ChartWorker();
    ChartWorker(const ChartWorker&) = delete;
    ChartWorker& operator=(const ChartWorker&) = delete;

    // Raises the chart's exit request and waits until the worker has finished the step it is in
    // (its reads and requests; pauses are cut short) and ended. Interface thread; repeatable.
    void Stop();

private:
    void Run();

    ScanChart& chart_;
    const DrawStep draw_;
    std::thread thread_;
};

}  // namespace zorvane
