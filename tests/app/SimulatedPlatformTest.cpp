// The application on the simulated frame, as the demo runs it.
#include "TestApplication.h"
#include "app/MainWindowRun.h"
#include "demo/SimulatedPlatform.h"
#include "app/ZorvaneTestApp.h"
#include "pages/CAdvancecdDlg.h"
#include "platform/linux/FrameLock.h"

#include <QScreen>
#include <QTemporaryDir>
#include <QSize>

#include <gtest/gtest.h>

#include <cstdlib>

namespace zorvane {
namespace {

// The target screens cover the screen that holds the main window, so the bezel lies on that display.
TEST(DemoPlatform, TheFrameLiesOnTheDisplayOfTheMainWindowsScreen)
{
    testing::TestApplication();
    const auto backend = std::make_shared<SimulatedHidBackend>();
    MainWindowRun run(SimulatedPlatform(backend));

    const QSize screen = run.window().screen()->size();
    const ScreenSize untold = FrameState{}.mounting.display;
    ASSERT_NE(screen, QSize(untold.width, untold.height)) << "a screen unlike the frame's own display";
    const ScreenSize display = backend->frame().state().mounting.display;
    EXPECT_EQ(QSize(display.width, display.height), screen);
}

// The demo is where the simulation view is tried out: the advanced page shows its button there, and
// only there.
TEST(DemoPlatform, TheAdvancedPageShowsTheSimulationButton)
{
    testing::TestApplication();
    const auto backend = std::make_shared<SimulatedHidBackend>();
    const auto buttonShown = [](const AppPlatform& platform) {
        MainWindowRun run(platform);
        auto& advanced = dynamic_cast<CAdvancecdDlg&>(run.window().page(CZorvaneTestDlg::Slot::Advanced));
        return !advanced.button(CAdvancecdDlg::kNoSubPage).isHidden();
    };
    AppPlatform withoutButton = SimulatedPlatform(backend);
    withoutButton.simulationButton = false;
    EXPECT_TRUE(buttonShown(SimulatedPlatform(backend)));
    EXPECT_FALSE(buttonShown(withoutButton));
}

// While zorvanectl has the simulated frame, the demo says so and ends before it opens a window.
TEST(DemoPlatform, AFrameZorvanectlHoldsIsSaidAndEndsTheProgram)
{
    testing::TestApplication();
    QTemporaryDir runtimeDir;  // where the frame lock lives
    ASSERT_TRUE(runtimeDir.isValid());
    setenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit().constData(), 1);
    const FrameLock zorvanectl(kSimulatedFrameLock, "zorvanectl");
    ASSERT_EQ(zorvanectl.state(), FrameLock::State::Acquired);

    QStringList told;
    const int result = RunMainWindow(SimulatedPlatform(std::make_shared<SimulatedHidBackend>()),
                                     [&told](const QString& text) { told << text; });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(told, QStringList{QStringLiteral("触摸框正在被 zorvanectl 使用, 请等它结束后再启动本程序。")});
}

}  // namespace
}  // namespace zorvane
