#include "FirmwareImage.h"

#include <numeric>

namespace zorvane {
namespace {

constexpr std::int32_t kLargeImageSize = 0x20000;
constexpr std::size_t kLengthLow = 0x3F;  // read only in the three-byte form
constexpr std::size_t kLengthMiddle = 0x40;
constexpr std::size_t kLengthHigh = 0x41;
constexpr std::size_t kChecksumLow = 0x42;
constexpr std::size_t kChecksumHigh = 0x43;
constexpr std::size_t kKey = 0x45;

}  // namespace

AcceptedSizes AcceptedSizesFor(std::int32_t bootloaderVersion)
{
    switch (bootloaderVersion) {
    case 0x1305:
        return {0xD000, 0xD000};
    case 0x1410:
        return {0xD800, 0xD800};
    case 0x1507:
        return {0x10000, 0xD800};
    case 0x1606:
        return {kLargeImageSize, kLargeImageSize};
    default:
        return {0x7FFF, 0x7FFF};
    }
}

bool IsAcceptedSize(std::uintmax_t fileSize, const AcceptedSizes& sizes)
{
    const auto accepted = [fileSize](std::int32_t size) {
        return size >= 0 && fileSize == static_cast<std::uintmax_t>(size);
    };
    return accepted(sizes.sizeA) || accepted(sizes.sizeB);
}

std::optional<FirmwareImageHeader> ReadImageHeader(std::span<const std::uint8_t> image, const AcceptedSizes& sizes)
{
    if (image.size() < kImagePayloadOffset)
        return std::nullopt;
    FirmwareImageHeader header;
    header.key = image[kKey];
    const auto field = [&](std::size_t at) { return static_cast<std::uint32_t>(image[at] ^ header.key); };
    header.payloadLength = field(kLengthHigh) << 8 | field(kLengthMiddle);
    if (sizes.sizeA == kLargeImageSize)
        header.payloadLength = header.payloadLength << 8 | field(kLengthLow);
    header.checksum = static_cast<std::uint16_t>(field(kChecksumHigh) << 8 | field(kChecksumLow));
    return header;
}

std::uint16_t PayloadSum(std::span<const std::uint8_t> payload)
{
    return static_cast<std::uint16_t>(std::accumulate(payload.begin(), payload.end(), 0u));
}

ImageCheck CheckFirmwareImage(std::span<const std::uint8_t> image, const AcceptedSizes& sizes)
{
    if (!IsAcceptedSize(image.size(), sizes))
        return {};
    const auto header = ReadImageHeader(image, sizes);
    if (!header || header->payloadLength > image.size() - kImagePayloadOffset)
        return {};
    if (static_cast<std::uint16_t>(PayloadSum(ImagePayload(image, *header)) + header->checksum) != 0)
        return {};
    return {link_status::kOk, *header};
}

std::span<const std::uint8_t> ImagePayload(std::span<const std::uint8_t> image, const FirmwareImageHeader& header)
{
    return image.subspan(kImagePayloadOffset, header.payloadLength);
}

}  // namespace zorvane
