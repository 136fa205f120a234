#pragma once

#include "signal/ScanDirection.h"

#include <array>
#include <vector>

namespace zorvane {

// The scan geometry of a simulated frame of NX x NY receivers, in logical units of 32 per receiver
// pitch: for each of the three scan directions (0 front, 1 middle, 2 back) the receiver each beam
// starts at is paired with the emitter `offset` receivers further on, so only the receivers from
// `first` to `last` have a partner on the other side. The drawing space leaves one pitch free around
// the receivers: (NX + 2) x (NY + 2) pitches.
struct ScanAxisGeometry {
    int offset = 0;
    int first = 0;  // first and last receiver index with a beam in this direction
    int last = 0;
    int vectorAlong = 0;   // the beam's extent along the receivers and across the frame, as prepared
    int vectorAcross = 0;
};

struct ScanDirectionGeometry {
    ScanAxisGeometry x;
    ScanAxisGeometry y;
};

struct SimulatedScanGeometry {
    static constexpr int kDirectionCount = 3;
    static constexpr int kPitch = 32;

    int receiversX = 0;
    int receiversY = 0;
    std::array<ScanDirectionGeometry, kDirectionCount> directions{};

    int logicalWidth() const { return (receiversX + 2) * kPitch; }
    int logicalHeight() const { return (receiversY + 2) * kPitch; }
};

SimulatedScanGeometry PrepareScanGeometry(int receiversX, int receiversY);

// One beam in logical units, across the frame between a receiver and its partner.
struct LogicalBeam {
    int fromX = 0;
    int fromY = 0;
    int toX = 0;
    int toY = 0;
};

// Every beam of one direction on one axis, each the prepared vector laid from the centre of its start
// pitch: X beams from the top edge down, Y beams from the left edge across, centred in the drawing space.
std::vector<LogicalBeam> BeamsOf(const SimulatedScanGeometry& geometry, int direction, ScanAxis axis);

}  // namespace zorvane
