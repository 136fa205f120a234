#pragma once

#include "protocol/DeviceProtocol.h"
#include "signal/ScanData.h"
#include "signal/ScanSelection.h"

#include <chrono>
#include <cstdint>

namespace zorvane {

class ScanChart;

// How long a worker rests per idle cycle (about three redraws a second), per acquiring cycle that had
// nothing due to read (a redraw as often as the eye follows, while Standard and Power keep their
// cadence of cycles), and after a failed read. A request cuts the rest short.
inline constexpr std::chrono::milliseconds kIdlePause{300};
inline constexpr std::chrono::milliseconds kRedrawPause{30};
inline constexpr std::chrono::milliseconds kFailurePause{1000};

// What one acquiring cycle reads: the selection as it stood when the cycle began and the receiver
// counts of the protocol's identification. The counts are the cycle's own, so no other thread can
// change them under a read.
struct AcquisitionCycle {
    DeviceProtocol& protocol;
    ScanSelection selection;
    std::int32_t xCount = 0;
    std::int32_t yCount = 0;
    int seriesRead = 0;  // series read so far in this cycle
};

// One worker cycle after the drawing: send the pending requests, then either rest while idle or
// read the selected series. A failed read clears the chart's series, runs the failure hook, rests
// and switches the cursor mode off.
void AcquisitionStep(ScanChart& chart);
// Sends the chart's pending requests, in this order: scan mode on; scan mode off then LED on;
// initialise; LED. Their replies carry nothing and a failure changes nothing.
void SendPendingRequests(ScanChart& chart);

// The reads of one cycle. Each is true on success and when it has nothing to do this cycle, false
// on a failed read (whatever arrived before the failure stays in `data`).
// Value of both axes when switched on, then the Fluctuation update, which runs even with Value off.
bool ReadValueSeries(AcquisitionCycle& cycle, ScanData& data);
// Standard of both axes in every sixth cycle with the Standard switch on.
bool ReadStandardSeries(AcquisitionCycle& cycle, ScanData& data);
// Power of both axes in every sixteenth cycle with the Power switch on.
bool ReadPowerSeries(AcquisitionCycle& cycle, ScanData& data);
// With the Fluctuation switch on, adds the Value series to the shared window and, every eighth
// time, replaces the Fluctuation series by the window's spread.
void UpdateFluctuation(const ScanSelection& selection, ScanData& data);

}  // namespace zorvane
