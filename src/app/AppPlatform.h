#pragma once

#include "link/DeviceChannel.h"
#include "link/DeviceNotices.h"
#include "pages/DrawingPointer.h"
#include "pages/TargetPointer.h"
#include "platform/linux/FrameLock.h"

#include <QSize>

#include <functional>
#include <memory>
#include <string>

namespace zorvane {

// What `main` plugs into the application: how the link reaches HID devices and where device notices
// come from. The notice source is made on the UI thread once the application object exists; a null
// source (or no factory) means no hot-plug notices.
//
// `mainScreenSize`, when set, is told on the UI thread the size in pixels of the screen that holds
// the main window, where the full-screen screens open: once the window exists, and again whenever
// the window moves to another screen or that screen's geometry changes.
//
// `targetPointer`, when set, makes the pointer of the target screens (the demo's simulated frame);
// left out, they follow the system pointer, which a real frame moves.
//
// `drawingPointer` says whether the mouse draws on the drawing test too (a desktop without a touch
// screen); left out, only touch input draws.
//
// `simulationButton` shows the advanced page's otherwise hidden button of the simulation view.
//
// `frameLock` names the frame's cross-process lock (FrameLock), held while the window runs.
struct AppPlatform {
    std::function<LinkPlatform()> link;
    std::function<std::shared_ptr<DeviceNoticeSource>()> notices;
    std::function<void(QSize)> mainScreenSize = {};  // may be left out
    TargetPointerFactory targetPointer = {};          // may be left out
    DrawingPointer drawingPointer = DrawingPointer::TouchOnly;
    bool simulationButton = false;
    std::string frameLock = kHidrawFrameLock;
};

}  // namespace zorvane
