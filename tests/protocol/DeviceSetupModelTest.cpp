// The device setup rules on the simulated frame: what a read shows, what a change sends, and what a
// change the frame does not take leaves selected.

#include "LinkFixtures.h"
#include "protocol/DeviceSetupModel.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorvane::testing {
namespace {

class DeviceSetupModelTest : public SimulatedLink {
protected:
    DeviceSetupModel model{GetDeviceProtocol()};
};

TEST_F(DeviceSetupModelTest, AReadSelectsTheFramesValuesAndNoButtonForOneOutOfRange)
{
    struct Case {
        std::uint8_t rotation, reversed, touchMode;
        int rotationButton, modeButton;
    };
    const Case cases[] = {
        {2, 1, touch_mode::kTouch, 2, 1},
        {0, 0, touch_mode::kMultiTouch, 0, 2},
        {5, 0, 0, 5, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.rotation) << "/" << int(c.touchMode));
        SetSettings(c.rotation, c.reversed, c.touchMode);

        model.ReadSettings();

        EXPECT_EQ(model.rotation(), c.rotationButton);
        EXPECT_EQ(model.reversed(), c.reversed != 0);
        EXPECT_EQ(model.mode(), c.modeButton);
    }
}

TEST_F(DeviceSetupModelTest, AReadWithoutAFrameShowsNoRotationNoReverseAndTheLastMode)
{
    backend->Unplug();
    model.ReadSettings();
    EXPECT_EQ(model.rotation(), 0);
    EXPECT_FALSE(model.reversed());
    EXPECT_EQ(model.mode(), 0) << "mouse until the frame has said otherwise";

    backend->Replug();
    SetSettings(3, 1, touch_mode::kTouch);
    model.ReadSettings();
    backend->Unplug();
    model.ReadSettings();
    EXPECT_EQ(model.rotation(), 0);
    EXPECT_FALSE(model.reversed());
    EXPECT_EQ(model.mode(), 1);
    EXPECT_EQ(model.deviceMode(), touch_mode::kTouch);
}

TEST_F(DeviceSetupModelTest, ChangesSendTheirBytesEveryClick)
{
    model.ApplyRotation(2);
    model.ApplyRotation(2);
    model.ApplyReverse(true);
    model.ApplyTouchMode(2);

    std::vector<std::vector<int>> sent;
    for (const Report& request : backend->ReceivedRequests())
        sent.push_back(Bytes(request, 0, 6));
    EXPECT_EQ(sent, (std::vector<std::vector<int>>{{0xFD, 0xA7, 0x00, 0x02, 0, 2},
                                                   {0xFD, 0xA7, 0x00, 0x02, 0, 2},
                                                   {0xFD, 0xA7, 0x05, 0x00, 0, 1},
                                                   {0xFD, 0xA4, 0x00, 0x00, 0, 3}}));
    const FrameState::Settings settings = State().settings;
    EXPECT_EQ(settings.rotation, 2);
    EXPECT_EQ(settings.reversed, 1);
    EXPECT_EQ(settings.touchMode, touch_mode::kMultiTouch);
    EXPECT_EQ(model.deviceRotation(), 2);
    EXPECT_EQ(model.deviceMode(), touch_mode::kMultiTouch);
}

TEST_F(DeviceSetupModelTest, AChangeNotTakenReturnsToTheLastAcceptedValue)
{
    struct Case {
        const char* name;
        Fault fault;
    };
    const Case cases[] = {
        {"write refused", Fault::RefusedWrite()},
        {"no reply", Fault::NoReply()},
        {"frame says no", Fault::StatusReply(SimulatedFrame::kStatusRejected)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.ApplyRotation(1);
        model.ApplyTouchMode(1);
        model.ApplyReverse(true);
        backend->FailAll(c.fault);

        model.ApplyRotation(3);
        model.ApplyTouchMode(0);
        model.ApplyReverse(false);

        backend->ClearFaults();
        EXPECT_EQ(model.rotation(), 1);
        EXPECT_EQ(model.mode(), 1);
        EXPECT_TRUE(model.reversed());
    }
}

TEST_F(DeviceSetupModelTest, AFrameWithoutReverseMountingLeavesTheBoxClear)
{
    FrameState state = State();
    state.settings.reverseSupported = false;
    backend->frame().SetState(state);

    model.ApplyReverse(true);

    EXPECT_FALSE(model.reversed());
}

}  // namespace
}  // namespace zorvane::testing
