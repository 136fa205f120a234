#include "app/ZorvaneTestApp.h"

#include "app/MainWindowRun.h"
#include "widgets/ProgramIcon.h"
#include "platform/linux/FrameLock.h"
#include "platform/linux/SingleInstanceLock.h"

#include <QApplication>
#include <QMessageBox>
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
    return RunMainWindow(platform, [](const QString& text) { QMessageBox::warning(nullptr, QStringLiteral("Zorvane"), text); });
}

int RunMainWindow(const AppPlatform& platform, const std::function<void(const QString&)>& tellFrameInUse)
{
    // zorvanectl holds the frame for one command at a time; its transactions must not interleave with ours.
    const FrameLock frameLock(platform.frameLock, "zorvane");
    if (frameLock.state() == FrameLock::State::Held) {
        tellFrameInUse(FrameInUseText(frameLock.holderProgram()));
        return 1;
    }
    MainWindowRun run(platform);
    run.window().exec();
    return 0;
}

QString FrameInUseText(const std::string& holderProgram)
{
    const QString holder = holderProgram.empty() ? QStringLiteral("另一个程序") : QString::fromStdString(holderProgram);
    return QStringLiteral("触摸框正在被 %1 使用, 请等它结束后再启动本程序。").arg(holder);
}

bool DisplayAvailable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace zorvane
