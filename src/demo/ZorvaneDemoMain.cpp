// zorvane-demo: the tool on the built-in simulated frame. Without a display it writes screenshots of the
// window instead.

#include "demo/DemoPenTray.h"
#include "demo/ScreenshotTour.h"
#include "demo/SimulatedPlatform.h"
#include "app/ZorvaneTestApp.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

int WriteScreenshotsInstead(int argc, char** argv, const zorvane::AppPlatform& platform,
                            zorvane::SimulatedHidBackend& frame)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/zorvane-screenshots-XXXXXX"));
    folder.setAutoRemove(false);
    const QString path = folder.path();
    std::fprintf(stderr, "zorvane-demo: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset).\n"
                         "Writing screenshots of the window to %s instead.\n", qPrintable(path));
    const QStringList files = folder.isValid() ? WriteScreenshotTour(path, platform, frame) : QStringList();
    for (const QString& file : files)
        std::fprintf(stderr, "  %s\n", qPrintable(file));
    return files.isEmpty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace zorvane;
    const auto frame = std::make_shared<SimulatedHidBackend>();
    const AppPlatform platform = SimulatedPlatform(frame);
    if (!DisplayAvailable())
        return WriteScreenshotsInstead(argc, argv, platform, *frame);
    const DemoPenTray penTray(frame);
    return RunZorvaneTestApp(argc, argv, platform);
}
