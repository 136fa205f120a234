#pragma once

#include "protocol/DeviceInfo.h"
#include "protocol/DeviceProtocol.h"
#include "protocol/ScanSeriesRead.h"
#include "signal/ScanDirection.h"
#include "signal/ScanSelector.h"

namespace zorvane {

struct AxisSeries {
    ScanSeries x;
    ScanSeries y;

    // Whether each axis holds as many values as `info` counts receivers: a frame that ended a read
    // early (a reply code other than 0x81) leaves a series short.
    bool CompleteFor(const DeviceInfo& info) const;
};

// One acquisition without a chart: scan mode on, the series of both axes of `kind` and `direction`
// sized by `info`, then scan mode off and the LEDs on again, as the charts leave the frame. The frame
// is left out of scan mode whatever failed; the first failure is returned.
LinkStatus ReadOneAcquisition(DeviceProtocol& protocol, SeriesKind kind, ScanDirection direction,
                              const DeviceInfo& info, AxisSeries& series);

}  // namespace zorvane
