#include "sim/FirmwareImages.h"

#include <algorithm>

namespace zorvane {

std::vector<std::uint8_t> LayOutImage(const ImageLayout& layout)
{
    std::vector<std::uint8_t> image(std::max(layout.fileSize, kImagePayloadOffset + layout.payload.size()));
    const auto length = static_cast<std::uint32_t>(layout.payload.size());
    const auto checksum = static_cast<std::uint16_t>(0x10000 - PayloadSum(layout.payload));
    const std::uint8_t k = layout.key;
    const auto put = [&](std::size_t at, std::uint32_t value) { image[at] = static_cast<std::uint8_t>(value ^ k); };
    if (layout.sizes.sizeA == 0x20000) {
        put(0x3F, length & 0xFF);
        put(0x40, length >> 8 & 0xFF);
        put(0x41, length >> 16 & 0xFF);
    } else {
        put(0x40, length & 0xFF);
        put(0x41, length >> 8 & 0xFF);
    }
    put(0x42, checksum & 0xFFu);
    put(0x43, checksum >> 8);
    image[0x45] = k;
    std::copy(layout.targetBytes.begin(), layout.targetBytes.end(), image.begin() + kImageTargetOffset);
    std::copy(layout.payload.begin(), layout.payload.end(), image.begin() + kImagePayloadOffset);
    return image;
}

std::vector<std::uint8_t> FirmwarePayload(const FrameState& state, std::uint16_t version, std::size_t length)
{
    std::vector<std::uint8_t> payload(length);
    for (std::size_t i = 0; i < length; ++i)
        payload[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    const std::size_t at = state.bootloader.versionOffset;
    if (length >= 2 && at <= length - 2) {
        payload[at] = static_cast<std::uint8_t>(version);
        payload[at + 1] = static_cast<std::uint8_t>(version >> 8);
    }
    return payload;
}

std::vector<std::uint8_t> ImageForFrame(const FrameState& state, std::uint16_t version)
{
    ImageLayout layout;
    layout.sizes = AcceptedSizesFor(state.bootloader.versionNumber);
    layout.fileSize = static_cast<std::size_t>(layout.sizes.sizeA);
    layout.targetBytes = state.bootloader.targetBytes;
    layout.payload = FirmwarePayload(state, version, layout.fileSize - kImagePayloadOffset);
    return LayOutImage(layout);
}

}  // namespace zorvane
