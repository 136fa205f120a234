// The application on the simulated frame, as the demo runs it.
#include "TestApplication.h"
#include "app/MainWindowRun.h"
#include "demo/SimulatedPlatform.h"

#include <QScreen>
#include <QSize>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zorvane
