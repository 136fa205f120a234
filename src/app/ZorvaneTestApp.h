#pragma once

#include "app/AppPlatform.h"

namespace zorvane {

// The program: a second copy ends at once with 0 and without a word; otherwise the main window runs on
// `platform` until it closes. No command line, no settings, no log.
int RunZorvaneTestApp(int argc, char** argv, const AppPlatform& platform);

// Whether a window can be shown at all: a display is named or a Qt platform is chosen.
bool DisplayAvailable();

}  // namespace zorvane
