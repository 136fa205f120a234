#pragma once

#include "app/AppPlatform.h"

#include <QString>

#include <functional>
#include <string>

namespace zorvane {

// The program: a second copy ends at once with 0 and without a word; a frame another program holds
// (FrameLock) is said in a message box and ends it with 1; otherwise the main window runs on
// `platform` until it closes. No command line, no settings, no log.
int RunZorvaneTestApp(int argc, char** argv, const AppPlatform& platform);

// The program once its application object exists: while another program holds the frame, `tellFrameInUse`
// is given what to say (the program shows it in a message box) and the result is 1; otherwise the main
// window runs until it closes and the result is 0.
int RunMainWindow(const AppPlatform& platform, const std::function<void(const QString&)>& tellFrameInUse);

// What the program says before it ends because `holderProgram` (e.g. zorvanectl) has the frame.
QString FrameInUseText(const std::string& holderProgram);

// Whether a window can be shown at all: a display is named or a Qt platform is chosen.
bool DisplayAvailable();

}  // namespace zorvane
