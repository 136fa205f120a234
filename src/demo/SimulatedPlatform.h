#pragma once

#include "app/AppPlatform.h"
#include "sim/SimulatedHidBackend.h"

#include <memory>

namespace zorvane {

// The application's platform on a machine with the simulated frame plugged in, mounted on the display
// of the screen that holds the main window.
AppPlatform SimulatedPlatform(std::shared_ptr<SimulatedHidBackend> frame);

}  // namespace zorvane
