#include "signal/AcquisitionStep.h"

#include "protocol/SendCommand.h"
#include "signal/AcquisitionFailureHook.h"
#include "signal/CadenceCounter.h"
#include "signal/CursorMode.h"
#include "signal/FluctuationWindow.h"
#include "signal/ScanChart.h"
#include "signal/ScanSelector.h"

namespace zorvane {
namespace {

void SendPendingRequests(AcquisitionRequests& requests, DeviceProtocol& protocol)
{
    requests.BeginSending();
    if (requests.TakeScanOn())
        SendCommand(protocol, commands::SetTouchMode(touch_mode::kScanOn));
    if (requests.TakeScanOff()) {
        SendCommand(protocol, commands::SetTouchMode(touch_mode::kScanOff));
        SendCommand(protocol, commands::SetLed(1));
    }
    if (requests.TakeInitialise())
        SendCommand(protocol, commands::Initialise());
    if (const std::optional<std::uint8_t> led = requests.TakeLed())
        SendCommand(protocol, commands::SetLed(*led));
    requests.EndSending();
}

bool ReadBothAxes(AcquisitionCycle& cycle, SeriesKind kind, ScanSeries& x, ScanSeries& y)
{
    const ScanDirection direction = cycle.selection.direction;
    cycle.seriesRead += 2;
    return ReadScanSeries(cycle.protocol, ScanSelector(kind, direction, ScanAxis::X), x, cycle.xCount) ==
               link_status::kOk &&
           ReadScanSeries(cycle.protocol, ScanSelector(kind, direction, ScanAxis::Y), y, cycle.yCount) ==
               link_status::kOk;
}

bool ReadWhenDue(AcquisitionCycle& cycle, bool switchedOn, CadenceCounter& cadence, SeriesKind kind,
                 ScanSeries& x, ScanSeries& y)
{
    if (!switchedOn || !cadence.Tick())
        return true;
    return ReadBothAxes(cycle, kind, x, y);
}

AcquisitionCycle BeginCycle(DeviceProtocol& protocol)
{
    const DeviceInfo info = protocol.info();
    return {protocol, CurrentScanSelection(), info.xReceiverCount, info.yReceiverCount};
}

void HandleFailedRead(ScanChart& chart)
{
    chart.Publish({});
    RunAcquisitionFailureHook(chart);
    chart.requests().ResumeScanMode();  // for a chart the hook has not stopped
    chart.exitRequest().BackOff(kFailurePause);
    cursorMode() = false;
}

}  // namespace

bool ReadValueSeries(AcquisitionCycle& cycle, ScanData& data)
{
    if (cycle.selection.value && !ReadBothAxes(cycle, SeriesKind::Value, data.xValue, data.yValue))
        return false;
    UpdateFluctuation(cycle.selection, data);
    return true;
}

bool ReadStandardSeries(AcquisitionCycle& cycle, ScanData& data)
{
    return ReadWhenDue(cycle, cycle.selection.standard, StandardCadence(), SeriesKind::Standard, data.xStandard,
                       data.yStandard);
}

bool ReadPowerSeries(AcquisitionCycle& cycle, ScanData& data)
{
    return ReadWhenDue(cycle, cycle.selection.power, PowerCadence(), SeriesKind::Power, data.xPower, data.yPower);
}

void UpdateFluctuation(const ScanSelection& selection, ScanData& data)
{
    if (!selection.fluctuation)
        return;
    if (std::optional<FluctuationWindow::Spread> spread = GetFluctuationWindow().Add(data.xValue, data.yValue)) {
        data.xFluctuation = std::move(spread->x);
        data.yFluctuation = std::move(spread->y);
    }
}

void AcquisitionStep(ScanChart& chart)
{
    AcquisitionRequests& requests = chart.requests();
    DeviceProtocol& protocol = GetDeviceProtocol();
    // A start raises scan mode on before acquiring, so a cycle that saw acquiring before its requests
    // has sent scan mode on before it reads; a stop raised meanwhile ends reading at once.
    const bool wasAcquiring = requests.acquiring();
    SendPendingRequests(requests, protocol);
    if (!wasAcquiring || !requests.acquiring()) {
        chart.exitRequest().Pause(kIdlePause);
        return;
    }
    // A stop and a new start came while the requests went out, so scan mode may just have been
    // switched off: the next cycle switches it on again before anything is read.
    if (requests.scanOnPending())
        return;

    AcquisitionCycle cycle = BeginCycle(protocol);
    ScanData data = chart.data();
    if (!ReadValueSeries(cycle, data) || !ReadPowerSeries(cycle, data) || !ReadStandardSeries(cycle, data)) {
        HandleFailedRead(chart);
        return;
    }
    chart.Publish(std::move(data));
    // Nothing read means nothing new to draw: without the rest the worker would spin, redrawing
    // the same frame as fast as it can.
    if (cycle.seriesRead == 0)
        chart.exitRequest().Pause(kRedrawPause);
}

void SendPendingRequests(ScanChart& chart) { SendPendingRequests(chart.requests(), GetDeviceProtocol()); }

}  // namespace zorvane
