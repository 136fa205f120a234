#include "link/DeviceChannel.h"
#include "platform/linux/HidrawBackend.h"

#include "ReportDescriptorSamples.h"
#include "Umockdev.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <thread>

// End to end on a mocked machine: udev enumeration, sysfs attributes and report I/O on the device
// node, driven through the device channel. umockdev's preload library has to be in the process from
// its start, so the test runs itself once more under umockdev-wrapper (see Umockdev.h).
namespace zorvane {
namespace {

using ::testing::ElementsAre;
using namespace umockdev;

class NoProcesses : public ProcessList {
public:
    std::optional<bool> IsRunning(const std::string&) override { return false; }
};

// The mocked node is a pseudo-terminal; make it pass report bytes through untouched.
void MakeTransparent(int terminal)
{
    termios mode{};
    ASSERT_EQ(tcgetattr(terminal, &mode), 0);
    cfmakeraw(&mode);
    ASSERT_EQ(tcsetattr(terminal, TCSANOW, &mode), 0);
}

// Plays the frame: takes one 64-byte request from the node and answers it. Until the channel opens
// the node, the terminal's far end reports a hang-up, so this keeps trying until a generous deadline.
Report AnswerOneRequest(int frame, const Report& reply)
{
    using namespace std::chrono_literals;
    Report request{};
    std::size_t received = 0;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (received < request.size() && std::chrono::steady_clock::now() < deadline) {
        pollfd readable{frame, POLLIN, 0};
        const bool hasData = poll(&readable, 1, 10) == 1 && (readable.revents & POLLIN);
        const ssize_t length = hasData ? read(frame, request.data() + received, request.size() - received) : 0;
        if (length > 0)
            received += static_cast<std::size_t>(length);
        else
            std::this_thread::sleep_for(1ms);
    }
    if (received == request.size() && write(frame, reply.data(), reply.size()) != static_cast<ssize_t>(reply.size()))
        request.fill(0);
    return request;
}

TEST(HidrawUmockdevTest, ChannelTalksToAFrameOnAMockedUsbBus)
{
#ifdef ZORVANE_ADDRESS_SANITIZER
    GTEST_SKIP() << "umockdev's preload library does not run beside AddressSanitizer";
#endif
    if (!UnderUmockdev())
        return RunUnderUmockdev();

    const auto testbed = UmockdevTestbed::Create();
    if (!testbed)
        GTEST_SKIP() << "libumockdev is not installed";
    ASSERT_TRUE(testbed->AddFromString(
        HidDeviceOnUsb("1-2", "0203", "0003:00001101:00000001", samples::kTouchFrameDescriptor, 3) +
        HidDeviceOnUsb("1-1", "0110", "0003:0000046D:0000C31C", samples::kBootKeyboardDescriptor, 1)));
    const int frame = testbed->DeviceFd("/dev/hidraw3");
    ASSERT_GE(frame, 0);
    MakeTransparent(frame);

    const auto backend = HidrawBackend::WithUdev();
    EXPECT_THAT(backend->ListInterfaces(),
                ElementsAre("/dev/hidraw1", "/dev/hidraw3&col01", "/dev/hidraw3&col02", "/dev/hidraw3&col03"));

    const Report request{0xFD, 0xA1, 0x03, 0x01};
    const Report frameReply{0xFD, 0xA1, 0x83, 0x01, 0x00, 0x12, 0x34, 0x56, 0x78};
    auto frameSide = std::async(std::launch::async, AnswerOneRequest, frame, frameReply);
    DeviceChannel channel({backend, std::make_shared<NoProcesses>(), "zorvane"});
    channel.ApplyFilter(NormalFirmwareFilter());

    Report reply{};
    EXPECT_EQ(channel.Transact(2000, request, reply), link_status::kOk);
    EXPECT_EQ(reply, frameReply);
    EXPECT_EQ(frameSide.get(), request);
    EXPECT_EQ(channel.filter().devicePath, "/dev/hidraw3&col03");
    EXPECT_EQ(channel.filter().versionNumber, 0x0203);
}

}  // namespace
}  // namespace zorvane
