// Any bytes as a firmware image for each bootloader the updater knows: as they are (the size test
// turns nearly all away) and as the start of a file of each accepted size, so that the header,
// length and checksum rules see them too. Nothing may crash, and an image that passes must keep
// its payload inside the file and add up with its checksum.

#include "protocol/FirmwareImage.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

void Examine(std::span<const std::uint8_t> image, const zorvane::AcceptedSizes& sizes)
{
    const zorvane::ImageCheck check = zorvane::CheckFirmwareImage(image, sizes);
    if (check.status != zorvane::link_status::kOk) {
        if (check.status != zorvane::link_status::kImageInvalid)
            __builtin_trap();
        return;
    }
    if (check.header.payloadLength > image.size() - zorvane::kImagePayloadOffset)
        __builtin_trap();
    const auto payload = zorvane::ImagePayload(image, check.header);
    if (static_cast<std::uint16_t>(zorvane::PayloadSum(payload) + check.header.checksum) != 0)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    for (const std::int32_t version : {0x1305, 0x1410, 0x1507, 0x1606, 0x0000}) {
        const zorvane::AcceptedSizes sizes = zorvane::AcceptedSizesFor(version);
        Examine(input, sizes);
        for (const std::int32_t fileSize : {sizes.sizeA, sizes.sizeB}) {
            std::vector<std::uint8_t> file(static_cast<std::size_t>(fileSize));
            std::copy_n(input.begin(), std::min(input.size(), file.size()), file.begin());
            Examine(file, sizes);
        }
    }
    return 0;
}
