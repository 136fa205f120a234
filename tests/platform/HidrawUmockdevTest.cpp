#include "link/DeviceChannel.h"
#include "platform/linux/HidrawBackend.h"

#include "ReportDescriptorSamples.h"

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
// its start, so the test runs itself once more under umockdev-wrapper. AddressSanitizer insists on
// coming first in the library list, so AddressSanitizer builds skip the test.
#if defined(__SANITIZE_ADDRESS__)
#define ZORVANE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZORVANE_ADDRESS_SANITIZER 1
#endif
#endif

namespace zorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The few libumockdev calls the test needs, looked up at run time so that the test program does not
// depend on the library. Destroying the testbed removes its directory and its device nodes.
class UmockdevTestbed {
public:
    // Null when libumockdev is not installed.
    static std::unique_ptr<UmockdevTestbed> Create()
    {
        void* library = dlopen("libumockdev.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return nullptr;
        std::unique_ptr<UmockdevTestbed> testbed(new UmockdevTestbed(library));
        return testbed->testbed_ ? std::move(testbed) : nullptr;
    }

    // The library stays loaded: its service threads may still be running when the testbed goes.
    ~UmockdevTestbed()
    {
        if (testbed_)
            unref_(testbed_);
    }
    UmockdevTestbed(const UmockdevTestbed&) = delete;
    UmockdevTestbed& operator=(const UmockdevTestbed&) = delete;

    bool AddFromString(const std::string& description)
    {
        return addFromString_(testbed_, description.c_str(), nullptr) != 0;
    }
    // The test's end of a mocked device node; owned by the testbed.
    int DeviceFd(const char* devnode) { return devFd_(testbed_, devnode); }

private:
    explicit UmockdevTestbed(void* library)
        : unref_(Symbol<void(void*)>(library, "g_object_unref"))
        , addFromString_(Symbol<int(void*, const char*, void**)>(library, "umockdev_testbed_add_from_string"))
        , devFd_(Symbol<int(void*, const char*)>(library, "umockdev_testbed_get_dev_fd"))
    {
        const auto create = Symbol<void*()>(library, "umockdev_testbed_new");
        if (create && unref_ && addFromString_ && devFd_)
            testbed_ = create();
    }

    template <typename Function>
    static Function* Symbol(void* library, const char* name)
    {
        return reinterpret_cast<Function*>(dlsym(library, name));
    }

    void (*unref_)(void*);
    int (*addFromString_)(void*, const char*, void**);
    int (*devFd_)(void*, const char*);
    void* testbed_ = nullptr;
};

class NoProcesses : public ProcessList {
public:
    std::optional<bool> IsRunning(const std::string&) override { return false; }
};

bool UnderUmockdev()
{
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr;
}

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    for (const std::uint8_t byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += digits;
    }
    return text;
}

// umockdev-record's format: one paragraph per device, parents first.
std::string HidDeviceOnUsb(const std::string& usbName, const std::string& bcdDevice, const std::string& hidId,
                           const std::vector<std::uint8_t>& descriptor, int node)
{
    const std::string usb = "/devices/pci0000:00/usb1/" + usbName;
    const std::string hid = usb + "/" + usbName + ":1.0/0003:1101:0001.000" + std::to_string(node);
    const std::string hidraw = "hidraw" + std::to_string(node);
    return "P: " + usb + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: bcdDevice=" + bcdDevice + "\n\n" +
           "P: " + usb + "/" + usbName + ":1.0\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n\n" +
           "P: " + hid + "\nE: SUBSYSTEM=hid\nE: HID_ID=" + hidId +
           "\nH: report_descriptor=" + Hex(descriptor) + "\n\n" +
           "P: " + hid + "/hidraw/" + hidraw + "\nE: SUBSYSTEM=hidraw\nE: DEVNAME=/dev/" + hidraw +
           "\nA: dev=240:" + std::to_string(node) + "\nL: device=../../\nN: " + hidraw + "\n\n";
}

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

void RunUnderUmockdev()
{
    const auto self = std::filesystem::read_symlink("/proc/self/exe").string();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string command = "umockdev-wrapper '" + self + "' --gtest_filter=" + test->test_suite_name() + "." +
                                test->name() + " 2>&1";
    FILE* child = popen(command.c_str(), "r");
    ASSERT_NE(child, nullptr);
    std::string output;
    std::array<char, 4096> chunk;
    while (const std::size_t length = std::fread(chunk.data(), 1, chunk.size(), child))
        output.append(chunk.data(), length);
    const int status = pclose(child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
        GTEST_SKIP() << "umockdev-wrapper is not installed";
    if (output.find("[  SKIPPED ]") != std::string::npos)
        GTEST_SKIP() << output;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    EXPECT_THAT(output, HasSubstr("[  PASSED  ] 1 test.")) << output;
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
