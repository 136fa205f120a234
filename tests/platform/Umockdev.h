#pragma once

// Mocked udev devices for the platform tests: libumockdev, looked up at run time. umockdev's preload
// library has to be in the process from its start, so a test runs itself once more under
// umockdev-wrapper (RunUnderUmockdev). AddressSanitizer insists on coming first in the library list, so
// AddressSanitizer builds skip these tests.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define ZORVANE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZORVANE_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define ZORVANE_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZORVANE_THREAD_SANITIZER 1
#endif
#endif

namespace zorvane::umockdev {

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
    // Announces `action` ("add", "remove") for the device at `syspath` to udev monitors.
    void Uevent(const std::string& syspath, const char* action) { uevent_(testbed_, syspath.c_str(), action); }
    // Takes the device out of the mocked sysfs (announcing nothing).
    void RemoveDevice(const std::string& syspath) { removeDevice_(testbed_, syspath.c_str()); }

private:
    explicit UmockdevTestbed(void* library)
        : unref_(Symbol<void(void*)>(library, "g_object_unref"))
        , addFromString_(Symbol<int(void*, const char*, void**)>(library, "umockdev_testbed_add_from_string"))
        , devFd_(Symbol<int(void*, const char*)>(library, "umockdev_testbed_get_dev_fd"))
        , uevent_(Symbol<void(void*, const char*, const char*)>(library, "umockdev_testbed_uevent"))
        , removeDevice_(Symbol<void(void*, const char*)>(library, "umockdev_testbed_remove_device"))
    {
        const auto create = Symbol<void*()>(library, "umockdev_testbed_new");
        if (create && unref_ && addFromString_ && devFd_ && uevent_ && removeDevice_)
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
    void (*uevent_)(void*, const char*, const char*);
    void (*removeDevice_)(void*, const char*);
    void* testbed_ = nullptr;
};

inline bool UnderUmockdev()
{
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr;
}

inline std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    for (const std::uint8_t byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += digits;
    }
    return text;
}

// The sysfs path of the hidraw node `node` that HidDeviceOnUsb describes.
inline std::string HidrawSyspath(const std::string& usbName, int node)
{
    return "/sys/devices/pci0000:00/usb1/" + usbName + "/" + usbName + ":1.0/0003:1101:0001.000" + std::to_string(node) +
           "/hidraw/hidraw" + std::to_string(node);
}

// umockdev-record's format: one paragraph per device, parents first.
inline std::string HidDeviceOnUsb(const std::string& usbName, const std::string& bcdDevice, const std::string& hidId,
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

// Runs the current test once more in a child under umockdev-wrapper and takes over its outcome.
inline void RunUnderUmockdev()
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
    EXPECT_THAT(output, ::testing::HasSubstr("[  PASSED  ] 1 test.")) << output;
}

}  // namespace zorvane::umockdev
