#pragma once

#include "link/LinkStatus.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace zorvane {

// The two file sizes a bootloader takes; both 0 until its version has been read.
struct AcceptedSizes {
    std::int32_t sizeA = 0;
    std::int32_t sizeB = 0;

    bool operator==(const AcceptedSizes&) const = default;
};

// The image sizes each bootloader version takes; an unknown bootloader takes only 32767 bytes.
AcceptedSizes AcceptedSizesFor(std::int32_t bootloaderVersion);
bool IsAcceptedSize(std::uintmax_t fileSize, const AcceptedSizes& sizes);

// The payload starts right after the 256-byte header.
inline constexpr std::size_t kImagePayloadOffset = 0x100;
// Image bytes 0x46..0x59 name the frames the image is for.
inline constexpr std::size_t kImageTargetOffset = 0x46;
inline constexpr std::size_t kImageTargetSize = 20;

// The header fields of an image file, every one stored XORed with the key.
struct FirmwareImageHeader {
    std::uint8_t key = 0;
    std::uint32_t payloadLength = 0;
    std::uint16_t checksum = 0;  // payload sum + checksum is 0 modulo 65536

    bool operator==(const FirmwareImageHeader&) const = default;
};

// The header as `sizes` say to read it: bootloaders whose first size is 0x20000 keep a third,
// lowest length byte at 0x3F. Nothing when `image` is too short to hold a header.
std::optional<FirmwareImageHeader> ReadImageHeader(std::span<const std::uint8_t> image, const AcceptedSizes& sizes);
std::uint16_t PayloadSum(std::span<const std::uint8_t> payload);

struct ImageCheck {
    LinkStatus status = link_status::kImageInvalid;
    FirmwareImageHeader header;  // meaningful when status is kOk
};

// The whole file test before an image may go near a bootloader: kImageInvalid for a size the
// bootloader does not take, a payload reaching past the file, or a checksum that does not match.
ImageCheck CheckFirmwareImage(std::span<const std::uint8_t> image, const AcceptedSizes& sizes);
// The payload of an image that passed CheckFirmwareImage.
std::span<const std::uint8_t> ImagePayload(std::span<const std::uint8_t> image, const FirmwareImageHeader& header);

}  // namespace zorvane
