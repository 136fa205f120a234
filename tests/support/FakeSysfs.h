#pragma once

// A sysfs tree for the hidraw backend's tests and benchmarks.

#include "platform/linux/HidrawBackend.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace zorvane::testing {

namespace fs = std::filesystem;

// The uevent of a HID device with this HID_ID ("bus:vendor:product").
inline std::string HidUevent(const std::string& hidId)
{
    return "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=Touch\n";
}

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

    // The backend on this tree; `listings` counts the times it lists the nodes.
    HidrawBackend Backend(std::shared_ptr<std::atomic<int>> listings = nullptr) const
    {
        return HidrawBackend([this, listings] {
            if (listings)
                ++*listings;
            return ListNodes();
        });
    }

private:
    static void WriteFile(const fs::path& file, const std::string& content)
    {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }

    fs::path root_;
};

}  // namespace zorvane::testing
