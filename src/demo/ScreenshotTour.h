#pragma once

#include "app/AppPlatform.h"
#include "sim/SimulatedHidBackend.h"

#include <QString>
#include <QStringList>

namespace zorvane {

// Drives the application on the simulated frame without a display and writes a PNG of every page and
// state into `folder`, for reviewing the looks. Needs a QApplication and sets the link platform, so it
// runs once per process. Returns the files written; empty when the folder cannot be made.
QStringList WriteScreenshotTour(const QString& folder, const AppPlatform& platform, SimulatedHidBackend& frame);

}  // namespace zorvane
