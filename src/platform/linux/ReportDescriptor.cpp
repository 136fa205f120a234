#include "platform/linux/ReportDescriptor.h"

#include <optional>

namespace zorvane {
namespace {

// Item types and tags of the HID report descriptor's short items.
enum class ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };
constexpr std::uint8_t kTagCollection = 0xA;
constexpr std::uint8_t kTagEndCollection = 0xC;
constexpr std::uint8_t kTagUsagePage = 0x0;
constexpr std::uint8_t kTagPush = 0xA;
constexpr std::uint8_t kTagPop = 0xB;
constexpr std::uint8_t kTagUsage = 0x0;
constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::uint32_t kApplicationCollection = 0x01;

struct Item {
    ItemType type = ItemType::Reserved;
    std::uint8_t tag = 0;
    std::uint8_t size = 0;  // bytes of data: 0, 1, 2 or 4
    std::uint32_t data = 0;  // little-endian, unsigned
};

// Reads the item at `offset` and advances past it; nothing when the descriptor ends inside the item.
// Long items carry no collection information, so they come back as a reserved item.
std::optional<Item> NextItem(std::span<const std::uint8_t> bytes, std::size_t& offset)
{
    const std::size_t remaining = bytes.size() - offset;
    const std::uint8_t prefix = bytes[offset];
    if (prefix == kLongItemPrefix) {
        if (remaining < 3 || remaining - 3 < bytes[offset + 1])
            return std::nullopt;
        offset += 3 + bytes[offset + 1];
        return Item{};
    }
    static constexpr std::uint8_t kDataSizes[] = {0, 1, 2, 4};
    Item item;
    item.size = kDataSizes[prefix & 0x3];
    item.type = static_cast<ItemType>((prefix >> 2) & 0x3);
    item.tag = static_cast<std::uint8_t>(prefix >> 4);
    if (remaining - 1 < item.size)
        return std::nullopt;
    for (std::size_t i = 0; i < item.size; ++i)
        item.data |= static_cast<std::uint32_t>(bytes[offset + 1 + i]) << (8 * i);
    offset += 1 + item.size;
    return item;
}

class CollectionParser {
public:
    std::vector<TopLevelCollection> Parse(std::span<const std::uint8_t> bytes)
    {
        std::size_t offset = 0;
        while (offset < bytes.size()) {
            const auto item = NextItem(bytes, offset);
            if (!item)
                break;
            switch (item->type) {
            case ItemType::Main:
                OnMain(*item);
                break;
            case ItemType::Global:
                OnGlobal(*item);
                break;
            case ItemType::Local:
                OnLocal(*item);
                break;
            case ItemType::Reserved:
                break;
            }
        }
        return std::move(collections_);
    }

private:
    void OnMain(const Item& item)
    {
        if (item.tag == kTagCollection) {
            if (depth_ == 0 && item.data == kApplicationCollection)
                collections_.push_back(CollectionUsage());
            ++depth_;
        } else if (item.tag == kTagEndCollection && depth_ > 0) {
            --depth_;
        }
        // Local items describe only the main item that follows them.
        firstUsage_.reset();
    }

    void OnGlobal(const Item& item)
    {
        if (item.tag == kTagUsagePage) {
            usagePage_ = static_cast<std::uint16_t>(item.data);
        } else if (item.tag == kTagPush) {
            pushedUsagePages_.push_back(usagePage_);
        } else if (item.tag == kTagPop && !pushedUsagePages_.empty()) {
            usagePage_ = pushedUsagePages_.back();
            pushedUsagePages_.pop_back();
        }
    }

    void OnLocal(const Item& item)
    {
        if (item.tag == kTagUsage && !firstUsage_)
            firstUsage_ = item;
    }

    // A four-byte usage names its own page; a shorter one takes the page in force at the main item.
    TopLevelCollection CollectionUsage() const
    {
        if (!firstUsage_)
            return {usagePage_, 0};
        if (firstUsage_->size == 4)
            return {static_cast<std::uint16_t>(firstUsage_->data >> 16), static_cast<std::uint16_t>(firstUsage_->data)};
        return {usagePage_, static_cast<std::uint16_t>(firstUsage_->data)};
    }

    std::vector<TopLevelCollection> collections_;
    std::vector<std::uint16_t> pushedUsagePages_;
    std::uint16_t usagePage_ = 0;
    std::optional<Item> firstUsage_;
    std::size_t depth_ = 0;
};

}  // namespace

std::vector<TopLevelCollection> ParseTopLevelCollections(std::span<const std::uint8_t> descriptor)
{
    return CollectionParser().Parse(descriptor);
}

}  // namespace zorvane
