#include "platform/linux/HidrawBackend.h"

#include "FakeSysfs.h"
#include "ReportDescriptorSamples.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zorvane {

static void PrintTo(const HidAttributes& attributes, std::ostream* out)
{
    *out << std::hex << "{vendor 0x" << attributes.vendorId << ", product 0x" << attributes.productId
         << ", version 0x" << attributes.versionNumber << "}";
}

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing::FakeSysfs;
using testing::HidUevent;

constexpr const char* kFrameHidId = "0003:00001101:00000001";

TEST(HidrawBackendTest, ListsNodesByNumberAndSplitsCollections)
{
    FakeSysfs sysfs;
    const auto usb = sysfs.AddUsbDevice("1-1", "0203");
    sysfs.AddHidraw(usb, 10, HidUevent(kFrameHidId), samples::kBootKeyboardDescriptor);
    sysfs.AddHidraw(usb, 2, HidUevent(kFrameHidId), samples::kTouchFrameDescriptor);
    sysfs.AddHidraw(usb, 1, HidUevent(kFrameHidId), {});  // descriptor unreadable
    sysfs.AddHidraw(usb, 3, HidUevent(kFrameHidId), {0x05, 0x01, 0x09, 0x01, 0xA1, 0x00, 0xC0});  // no application

    EXPECT_THAT(sysfs.Backend().ListInterfaces(),
                ElementsAre("/dev/hidraw1", "/dev/hidraw2&col01", "/dev/hidraw2&col02", "/dev/hidraw2&col03",
                            "/dev/hidraw3", "/dev/hidraw10"));
}

TEST(HidrawBackendTest, EveryCollectionPathHasTheNodesAttributes)
{
    FakeSysfs sysfs;
    sysfs.AddHidraw(sysfs.AddUsbDevice("1-1", "0203"), 2, HidUevent(kFrameHidId), samples::kTouchFrameDescriptor);
    auto backend = sysfs.Backend();

    const HidAttributes frame{0x1101, 0x0001, 0x0203};
    for (const char* path : {"/dev/hidraw2", "/dev/hidraw2&col01", "/dev/hidraw2&col03"})
        EXPECT_EQ(backend.GetAttributes(path), frame) << path;
    EXPECT_EQ(backend.GetAttributes("/dev/hidraw7"), std::nullopt);
}

// The channel lists the interfaces and then asks for the attributes of each until one matches: the
// nodes are listed once for all of it. A node the last listing did not find is looked up afresh.
TEST(HidrawBackendTest, AScanListsTheNodesOnce)
{
    FakeSysfs sysfs;
    const auto usb = sysfs.AddUsbDevice("1-1", "0203");
    sysfs.AddHidraw(usb, 2, HidUevent(kFrameHidId), samples::kTouchFrameDescriptor);
    sysfs.AddHidraw(usb, 3, HidUevent(kFrameHidId), samples::kBootKeyboardDescriptor);
    const auto listings = std::make_shared<std::atomic<int>>(0);
    auto backend = sysfs.Backend(listings);

    for (const std::string& path : backend.ListInterfaces())
        EXPECT_NE(backend.GetAttributes(path), std::nullopt) << path;
    EXPECT_EQ(*listings, 1);

    sysfs.AddHidraw(usb, 4, HidUevent(kFrameHidId), samples::kBootKeyboardDescriptor);
    EXPECT_EQ(backend.GetAttributes("/dev/hidraw4"), (HidAttributes{0x1101, 0x0001, 0x0203}));
    EXPECT_EQ(*listings, 2);
}

struct AttributesCase {
    std::string name;
    std::string hidUevent;
    std::optional<std::string> usbBcdDevice;  // the HID device sits on a USB device with this bcdDevice
    std::optional<HidAttributes> expected;

    friend void PrintTo(const AttributesCase& testCase, std::ostream* out) { *out << testCase.name; }
};

class HidrawAttributesTest : public ::testing::TestWithParam<AttributesCase> {};

TEST_P(HidrawAttributesTest, ReadsIdentityFromSysfs)
{
    const AttributesCase& c = GetParam();
    FakeSysfs sysfs;
    const auto parent = c.usbBcdDevice ? sysfs.AddUsbDevice("1-4", *c.usbBcdDevice) : sysfs.DevicesDir() / "virtual";
    sysfs.AddHidraw(parent, 0, c.hidUevent, samples::kBootKeyboardDescriptor);

    EXPECT_EQ(sysfs.Backend().GetAttributes("/dev/hidraw0"), c.expected);
}

const AttributesCase kAttributesCases[] = {
    {"UsbDevice", HidUevent(kFrameHidId), "0203", HidAttributes{0x1101, 0x0001, 0x0203}},
    {"Bootloader", HidUevent("0003:00001101:0000FFFF"), "1a0f", HidAttributes{0x1101, 0xFFFF, 0x1A0F}},
    {"UsbBusWithoutUsbDevice", HidUevent(kFrameHidId), std::nullopt, HidAttributes{0x1101, 0x0001, 0}},
    {"I2cDevice", HidUevent("0018:000004F3:00002A1C"), std::nullopt, HidAttributes{0x04F3, 0x2A1C, 0}},
    // A Bluetooth device below a USB adapter does not take the adapter's version.
    {"BluetoothBelowUsbAdapter", HidUevent("0005:0000046D:0000B33F"), "0100", HidAttributes{0x046D, 0xB33F, 0}},
    {"NoHidId", "DRIVER=hid-generic\nHID_NAME=Touch\n", "0203", std::nullopt},
    {"HidIdMissingProduct", HidUevent("0003:00001101"), "0203", std::nullopt},
    {"HidIdNotHex", HidUevent("0003:0000110G:00000001"), "0203", std::nullopt},
    {"HidIdEmptyField", HidUevent("0003::00000001"), "0203", std::nullopt},
    {"VendorWiderThan16Bits", HidUevent("0003:00011101:00000001"), "0203", std::nullopt},
    {"BcdDeviceGarbled", HidUevent(kFrameHidId), "02x3", std::nullopt},
    {"BcdDeviceEmpty", HidUevent(kFrameHidId), "", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Sysfs, HidrawAttributesTest, ::testing::ValuesIn(kAttributesCases),
                         [](const auto& testCase) { return testCase.param.name; });

TEST(HidrawBackendTest, OpensTheNodeBehindACollectionPath)
{
    FakeSysfs sysfs;
    const auto node = sysfs.DevicesDir() / "hidraw5";
    fs::create_directories(sysfs.DevicesDir());
    std::ofstream(node).put('\0');
    auto backend = sysfs.Backend();

    EXPECT_NE(backend.Open(node.string() + "&col03").handle, nullptr);
    EXPECT_NE(backend.Open(node.string()).handle, nullptr);
    EXPECT_EQ(backend.Open(node.string() + "&colour").handle, nullptr);
    EXPECT_EQ(backend.Open((sysfs.DevicesDir() / "hidraw6&col01").string()).handle, nullptr);
}

// Only a refusal of this user counts as access denied: the user can fix that (the udev rule, or a login
// at the seat), not a node that is gone or broken.
TEST(HidrawBackendTest, SaysWhenTheSystemRefusesThisUserTheNode)
{
    const struct {
        int error;
        bool accessDenied;
    } cases[] = {{EACCES, true}, {EPERM, true}, {ENOENT, false}, {ENODEV, false}, {ENXIO, false}, {EIO, false}};
    for (const auto& c : cases) {
        std::string opened;
        HidrawBackend backend([] { return std::vector<HidrawNode>{}; }, [&](const char* devnode, int) {
            opened = devnode;
            errno = c.error;
            return -1;
        });
        const OpenResult result = backend.Open("/dev/hidraw2&col03");
        EXPECT_EQ(opened, "/dev/hidraw2") << c.error;
        EXPECT_EQ(result.handle, nullptr) << c.error;
        EXPECT_EQ(result.accessDenied, c.accessDenied) << c.error;
    }
}

}  // namespace
}  // namespace zorvane
