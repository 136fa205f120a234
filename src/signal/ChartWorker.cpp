#include "signal/ChartWorker.h"

#include "signal/AcquisitionStep.h"
#include "signal/ScanChart.h"

namespace zorvane {

ChartWorker::ChartWorker(ScanChart& chart, DrawStep draw) : chart_(chart), draw_(std::move(draw))
{
    thread_ = std::thread([this] { Run(); });
}

ChartWorker::~ChartWorker() { Stop(); }

void ChartWorker::Stop()
{
    chart_.exitRequest().Raise();
    if (thread_.joinable())
        thread_.join();
}

void ChartWorker::Run()
{
    while (!chart_.exitRequest().raised()) {
        draw_(chart_);
        AcquisitionStep(chart_);
    }
    SendPendingRequests(chart_);
}

}  // namespace zorvane
