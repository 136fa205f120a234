#pragma once

#include "link/LinkStatus.h"

namespace zorvane {

class ScanChart;

// Queries the frame's identification into chartInfo and, when that succeeds, prepares the chart
// and starts acquiring (scan mode on goes out in the worker's next cycle). A failed query is
// returned and the chart stays as it was. Interface thread.
LinkStatus StartAcquisition(ScanChart& chart);

// Sizes the columns and chooses the grid and caption from chartInfo as it stands, then starts
// acquiring. The zoom view calls it directly, reusing the identification read before.
void PrepareChart(ScanChart& chart);

}  // namespace zorvane
