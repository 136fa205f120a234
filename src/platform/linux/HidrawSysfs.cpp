#include "platform/linux/HidrawSysfs.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace zorvane {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kBusUsb = 0x0003;

struct HidId {
    std::uint32_t bus = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

std::optional<std::string> ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return content;
}

std::optional<std::string> UeventValue(const fs::path& deviceDir, std::string_view key)
{
    const auto uevent = ReadFile(deviceDir / "uevent");
    if (!uevent)
        return std::nullopt;
    std::string_view rest = *uevent;
    while (!rest.empty()) {
        const auto lineEnd = rest.find('\n');
        const std::string_view line = rest.substr(0, lineEnd);
        if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=')
            return std::string(line.substr(key.size() + 1));
        rest = lineEnd == std::string_view::npos ? std::string_view() : rest.substr(lineEnd + 1);
    }
    return std::nullopt;
}

// A whole field of hex digits that fits in `max`.
std::optional<std::uint32_t> ParseHex(std::string_view text, std::uint32_t max)
{
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max)
        return std::nullopt;
    return value;
}

// HID_ID is "bus:vendor:product", each field in hex (e.g. 0003:00001101:00000001).
std::optional<HidId> ParseHidId(std::string_view text)
{
    const auto first = text.find(':');
    const auto second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const auto bus = ParseHex(text.substr(0, first), 0xFFFF);
    const auto vendor = ParseHex(text.substr(first + 1, second - first - 1), 0xFFFF);
    const auto product = ParseHex(text.substr(second + 1), 0xFFFF);
    if (!bus || !vendor || !product)
        return std::nullopt;
    return HidId{*bus, static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
}

std::optional<fs::path> HidDeviceDir(const std::string& hidrawSyspath)
{
    std::error_code error;
    auto dir = fs::canonical(fs::path(hidrawSyspath) / "device", error);
    if (error)
        return std::nullopt;
    return dir;
}

std::optional<fs::path> NearestUsbDevice(const fs::path& hidDeviceDir)
{
    for (auto dir = hidDeviceDir.parent_path(); dir != dir.root_path() && !dir.empty(); dir = dir.parent_path()) {
        if (UeventValue(dir, "DEVTYPE") == "usb_device")
            return dir;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> ReadBcdDevice(const fs::path& usbDeviceDir)
{
    auto text = ReadFile(usbDeviceDir / "bcdDevice");
    if (!text)
        return std::nullopt;
    while (!text->empty() && (text->back() == '\n' || text->back() == ' '))
        text->pop_back();
    const auto value = ParseHex(*text, 0xFFFF);
    if (!value)
        return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

// bcdDevice of the USB device under the HID device, 0 when there is none; nothing when unreadable.
std::optional<std::uint16_t> UsbVersionNumber(const fs::path& hidDeviceDir, const HidId& id)
{
    // A device on another bus (Bluetooth, I2C) can still sit below a USB device (its adapter).
    const auto usbDevice = id.bus == kBusUsb ? NearestUsbDevice(hidDeviceDir) : std::nullopt;
    if (!usbDevice)
        return 0;
    return ReadBcdDevice(*usbDevice);
}

}  // namespace

std::vector<std::uint8_t> ReadReportDescriptor(const std::string& hidrawSyspath)
{
    const auto content = ReadFile(fs::path(hidrawSyspath) / "device" / "report_descriptor");
    if (!content)
        return {};
    return {content->begin(), content->end()};
}

std::optional<HidAttributes> ReadHidrawAttributes(const std::string& hidrawSyspath)
{
    const auto hidDevice = HidDeviceDir(hidrawSyspath);
    if (!hidDevice)
        return std::nullopt;
    const auto hidIdText = UeventValue(*hidDevice, "HID_ID");
    const auto id = hidIdText ? ParseHidId(*hidIdText) : std::nullopt;
    if (!id)
        return std::nullopt;
    const auto version = UsbVersionNumber(*hidDevice, *id);
    if (!version)
        return std::nullopt;
    return HidAttributes{id->vendorId, id->productId, *version};
}

}  // namespace zorvane
