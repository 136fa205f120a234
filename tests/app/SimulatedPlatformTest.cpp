// The application on the simulated frame, as the demo runs it.
#include "TestApplication.h"
#include "app/MainWindowRun.h"
#include "demo/SimulatedPlatform.h"
#include "pages/CAdvancecdDlg.h"

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

}  // namespace
}  // namespace zorvane
