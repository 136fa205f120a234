#include "app/ZorvaneTestApp.h"

#include "app/MainWindowRun.h"
#include "widgets/ProgramIcon.h"
#include "platform/linux/SingleInstanceLock.h"

#include <QApplication>
#include <QtGlobal>

namespace zorvane {

int RunZorvaneTestApp(int argc, char** argv, const AppPlatform& platform)
{
    // Taken before anything else, so a second copy never waits for a display or a busy first copy.
    if (AcquireSingleInstanceLock("ZORVANE") == InstanceLock::HeldByAnotherCopy)
        return 0;
    QApplication application(argc, argv);
    // The class name the window is found by: WM_CLASS on X11, the app id on Wayland.
    QApplication::setApplicationName(QStringLiteral("Zorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("Zorvane"));
    QApplication::setWindowIcon(ProgramIconSet());
    MainWindowRun run(platform);
    run.window().exec();
    return 0;
}

bool DisplayAvailable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace zorvane
