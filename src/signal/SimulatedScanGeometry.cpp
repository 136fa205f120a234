#include "signal/SimulatedScanGeometry.h"

#include <algorithm>

namespace zorvane {
namespace {

constexpr int kPitch = SimulatedScanGeometry::kPitch;
constexpr int kXOffsetStep = 48;

ScanAxisGeometry Axis(int count, int offset, int vectorAlong, int vectorAcross)
{
    return {.offset = offset,
            .first = std::max(-offset, 0),
            .last = std::min(count - 1, count - offset - 1),
            .vectorAlong = vectorAlong,
            .vectorAcross = vectorAcross};
}

// The centre of receiver `index`'s pitch, one free pitch before the first.
int Centre(int index) { return (index + 1) * kPitch + kPitch / 2; }

}  // namespace

SimulatedScanGeometry PrepareScanGeometry(int receiversX, int receiversY)
{
    SimulatedScanGeometry geometry{.receiversX = receiversX, .receiversY = receiversY};
    const int xAcross = geometry.logicalHeight() - kPitch / 2;
    const int yAcross = geometry.logicalWidth() - kPitch;
    for (int d = 0; d < SimulatedScanGeometry::kDirectionCount; ++d) {
        const int a = kXOffsetStep * (d - 1);
        const int e = (d - 1) * receiversX / 5;
        geometry.directions[d] = {.x = Axis(receiversX, a, kPitch * a, xAcross),
                                  .y = Axis(receiversY, e, -kPitch * e, yAcross)};
    }
    return geometry;
}

std::vector<LogicalBeam> BeamsOf(const SimulatedScanGeometry& geometry, int direction, ScanAxis axis)
{
    std::vector<LogicalBeam> beams;
    const ScanDirectionGeometry& prepared = geometry.directions[direction];
    if (axis == ScanAxis::X) {
        // Down from receiver i to its emitter i + offset.
        const ScanAxisGeometry& x = prepared.x;
        const int top = (geometry.logicalHeight() - x.vectorAcross) / 2;
        for (int i = x.first; i <= x.last; ++i)
            beams.push_back({Centre(i), top, Centre(i) + x.vectorAlong, top + x.vectorAcross});
        return beams;
    }
    // Across from emitter j + offset to its receiver j.
    const ScanAxisGeometry& y = prepared.y;
    const int left = (geometry.logicalWidth() - y.vectorAcross) / 2;
    for (int j = y.first; j <= y.last; ++j) {
        const int start = Centre(j + y.offset);
        beams.push_back({left, start, left + y.vectorAcross, start + y.vectorAlong});
    }
    return beams;
}

}  // namespace zorvane
