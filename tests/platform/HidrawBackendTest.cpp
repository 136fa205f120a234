#include "platform/linux/HidrawBackend.h"

#include "ReportDescriptorSamples.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

constexpr const char* kFrameHidId = "0003:00001101:00000001";

// A sysfs tree in a temporary directory, laid out like the kernel's: USB device, USB interface, HID
// device (uevent with HID_ID, report_descriptor), hidraw/hidrawN with a `device` link to the HID
// device, and class/hidraw/hidrawN linking to the node.
class FakeSysfs {
public:
    FakeSysfs()
    {
        std::string pattern = (fs::temp_directory_path() / "zorvane-sysfs-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        fs::create_directories(root_ / "class" / "hidraw");
    }
    ~FakeSysfs() { fs::remove_all(root_); }
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    fs::path AddUsbDevice(const std::string& name, const std::string& bcdDevice)
    {
        const auto dir = root_ / "devices" / name;
        WriteFile(dir / "uevent", "DEVTYPE=usb_device\nPRODUCT=1101/1/" + bcdDevice + "\n");
        WriteFile(dir / "bcdDevice", bcdDevice + "\n");
        const auto interface = dir / (name + ":1.0");
        WriteFile(interface / "uevent", "DEVTYPE=usb_interface\n");
        return interface;
    }

    // Adds a HID device under `parent` with one hidraw node; an empty descriptor leaves the file out.
    void AddHidraw(const fs::path& parent, int node, const std::string& uevent,
                   const std::vector<std::uint8_t>& descriptor)
    {
        const auto hidDevice = parent / ("0003:1101:0001.000" + std::to_string(node));
        WriteFile(hidDevice / "uevent", uevent);
        if (!descriptor.empty())
            WriteFile(hidDevice / "report_descriptor", std::string(descriptor.begin(), descriptor.end()));
        const auto hidraw = hidDevice / "hidraw" / ("hidraw" + std::to_string(node));
        fs::create_directories(hidraw);
        fs::create_directory_symlink("../..", hidraw / "device");
        fs::create_directory_symlink(hidraw, root_ / "class" / "hidraw" / hidraw.filename());
    }

    fs::path DevicesDir() const { return root_ / "devices"; }

    // The nodes as udev would list them, in directory order.
    std::vector<HidrawNode> ListNodes() const
    {
        std::vector<HidrawNode> nodes;
        for (const auto& entry : fs::directory_iterator(root_ / "class" / "hidraw"))
            nodes.push_back({"/dev/" + entry.path().filename().string(), fs::canonical(entry.path()).string()});
        return nodes;
    }

    HidrawBackend Backend() const
    {
        return HidrawBackend([this] { return ListNodes(); });
    }

private:
    static void WriteFile(const fs::path& file, const std::string& content)
    {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }

    fs::path root_;
};

std::string HidUevent(const std::string& hidId) { return "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=Touch\n"; }

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

    EXPECT_NE(backend.Open(node.string() + "&col03"), nullptr);
    EXPECT_NE(backend.Open(node.string()), nullptr);
    EXPECT_EQ(backend.Open(node.string() + "&colour"), nullptr);
    EXPECT_EQ(backend.Open((sysfs.DevicesDir() / "hidraw6&col01").string()), nullptr);
}

}  // namespace
}  // namespace zorvane
