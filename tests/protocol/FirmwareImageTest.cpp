#include "protocol/FirmwareImage.h"
#include "sim/FirmwareImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace zorvane {
namespace {

// A file of `size` zero bytes except `bytes` (offset -> value).
std::vector<std::uint8_t> ImageBytes(std::size_t size, const std::map<std::size_t, std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> image(size);
    for (const auto& [at, value] : bytes)
        image[at] = value;
    return image;
}

const AcceptedSizes kTwoByteForm = AcceptedSizesFor(0x1305);
const AcceptedSizes kThreeByteForm = AcceptedSizesFor(0x1606);

TEST(FirmwareImage, AcceptedSizesFollowTheBootloaderVersion)
{
    const struct {
        std::int32_t version;
        AcceptedSizes sizes;
    } cases[] = {
        {0x1305, {0xD000, 0xD000}}, {0x1410, {0xD800, 0xD800}}, {0x1507, {0x10000, 0xD800}},
        {0x1606, {0x20000, 0x20000}}, {0x0000, {0x7FFF, 0x7FFF}}, {0x0101, {0x7FFF, 0x7FFF}},
        {0x1607, {0x7FFF, 0x7FFF}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        EXPECT_EQ(AcceptedSizesFor(c.version), c.sizes);
        EXPECT_TRUE(IsAcceptedSize(static_cast<std::uintmax_t>(c.sizes.sizeA), c.sizes));
        EXPECT_TRUE(IsAcceptedSize(static_cast<std::uintmax_t>(c.sizes.sizeB), c.sizes));
        const auto larger = static_cast<std::uintmax_t>(std::max(c.sizes.sizeA, c.sizes.sizeB));
        const auto smaller = static_cast<std::uintmax_t>(std::min(c.sizes.sizeA, c.sizes.sizeB));
        EXPECT_FALSE(IsAcceptedSize(larger + 1, c.sizes));
        EXPECT_FALSE(IsAcceptedSize(smaller - 1, c.sizes));
    }
}

TEST(FirmwareImage, OnlyTheAcceptedSizesPassTheCheck)
{
    for (const std::int32_t version : {0x1305, 0x1410, 0x1507, 0x1606, 0x0101}) {
        SCOPED_TRACE(version);
        const AcceptedSizes sizes = AcceptedSizesFor(version);
        const auto larger = static_cast<std::size_t>(std::max(sizes.sizeA, sizes.sizeB));
        const struct {
            std::size_t size;
            LinkStatus status;
        } cases[] = {
            {static_cast<std::size_t>(sizes.sizeA), link_status::kOk},
            {static_cast<std::size_t>(sizes.sizeB), link_status::kOk},
            {larger + 1, link_status::kImageInvalid},
            {static_cast<std::size_t>(sizes.sizeB) - 1, link_status::kImageInvalid},
        };
        for (const auto& c : cases) {
            const auto image = LayOutImage({.fileSize = c.size, .sizes = sizes, .payload = {1, 2, 3}});
            EXPECT_EQ(CheckFirmwareImage(image, sizes).status, c.status) << c.size;
        }
    }
}

TEST(FirmwareImage, HeaderFieldsAreXoredWithTheKeyInTheirLengthForm)
{
    const std::map<std::size_t, std::uint8_t> lengthBytes = {
        {0x3F, 0x45 ^ 0x33}, {0x40, 0x23 ^ 0x33}, {0x41, 0x01 ^ 0x33}, {0x45, 0x33}};
    const struct {
        const char* name;
        std::map<std::size_t, std::uint8_t> bytes;
        AcceptedSizes sizes;
        FirmwareImageHeader header;
    } cases[] = {
        {"two-byte form: 0x33, 0x32 with k = 0x33 is 256, byte 0x3F unread",
         {{0x3F, 0x77}, {0x40, 0x33}, {0x41, 0x32}, {0x45, 0x33}}, kTwoByteForm, {0x33, 0x0100, 0x3333}},
        {"three-byte form when the first size is 0x20000", lengthBytes, kThreeByteForm, {0x33, 0x012345, 0x3333}},
        {"two-byte form when only the second size differs", lengthBytes, AcceptedSizesFor(0x1507),
         {0x33, 0x0123, 0x3333}},
        {"checksum: high byte at 0x43", {{0x42, 0x00 ^ 0x5A}, {0x43, 0xFF ^ 0x5A}, {0x45, 0x5A}}, kTwoByteForm,
         {0x5A, 0x5A5A, 0xFF00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto header = ReadImageHeader(ImageBytes(0x200, c.bytes), c.sizes);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->key, c.header.key);
        EXPECT_EQ(header->payloadLength, c.header.payloadLength);
        EXPECT_EQ(header->checksum, c.header.checksum);
    }
}

TEST(FirmwareImage, PayloadSumPlusChecksumMustBeZero)
{
    // 0x0100 bytes of 0x01 add up to 0x0100: only the checksum 0xFF00 matches.
    for (const std::uint16_t checksum : std::array<std::uint16_t, 4>{0xFF00, 0xFF01, 0xFEFF, 0x0100}) {
        SCOPED_TRACE(checksum);
        auto image = ImageBytes(0xD000, {{0x40, 0x00}, {0x41, 0x01}, {0x42, static_cast<std::uint8_t>(checksum)},
                                         {0x43, static_cast<std::uint8_t>(checksum >> 8)}});
        std::fill_n(image.begin() + kImagePayloadOffset, 0x100, 0x01);

        const ImageCheck check = CheckFirmwareImage(image, kTwoByteForm);

        EXPECT_EQ(check.status, checksum == 0xFF00 ? link_status::kOk : link_status::kImageInvalid);
        EXPECT_EQ(PayloadSum(ImagePayload(image, {0, 0x100, 0})), 0x0100);
    }
}

TEST(FirmwareImage, PayloadMustEndWithinTheFile)
{
    // A zero payload with checksum 0 is valid wherever it ends, so only its length decides.
    const struct {
        const char* name;
        AcceptedSizes sizes;
        std::map<std::size_t, std::uint8_t> lengthBytes;
        LinkStatus status;
    } cases[] = {
        {"two-byte form up to the end", kTwoByteForm, {{0x40, 0x00}, {0x41, 0xCF}}, link_status::kOk},
        {"two-byte form one past", kTwoByteForm, {{0x40, 0x01}, {0x41, 0xCF}}, link_status::kImageInvalid},
        {"three-byte form up to the end", kThreeByteForm, {{0x3F, 0x00}, {0x40, 0xFF}, {0x41, 0x01}}, link_status::kOk},
        {"three-byte form one past", kThreeByteForm, {{0x3F, 0x01}, {0x40, 0xFF}, {0x41, 0x01}},
         link_status::kImageInvalid},
        {"three-byte form far past", kThreeByteForm, {{0x3F, 0xFF}, {0x40, 0xFF}, {0x41, 0xFF}},
         link_status::kImageInvalid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = ImageBytes(static_cast<std::size_t>(c.sizes.sizeA), c.lengthBytes);
        EXPECT_EQ(CheckFirmwareImage(image, c.sizes).status, c.status);
    }
}

TEST(FirmwareImage, TooShortForAHeaderIsInvalidNotACrash)
{
    const std::vector<std::uint8_t> empty;
    EXPECT_FALSE(ReadImageHeader(empty, kTwoByteForm));
    EXPECT_FALSE(ReadImageHeader(std::vector<std::uint8_t>(0xFF), kTwoByteForm));
    // Before the bootloader's version is read both sizes are 0, which an empty file matches.
    EXPECT_EQ(CheckFirmwareImage(empty, AcceptedSizes{}).status, link_status::kImageInvalid);
}

TEST(FirmwareImage, LaidOutImagesReadBackAsWritten)
{
    for (const std::int32_t version : {0x1305, 0x1507, 0x1606, 0x0101}) {
        SCOPED_TRACE(version);
        const AcceptedSizes sizes = AcceptedSizesFor(version);
        const std::vector<std::uint8_t> payload(static_cast<std::size_t>(sizes.sizeB) - kImagePayloadOffset, 0xA7);
        const auto image = LayOutImage(
            {.fileSize = static_cast<std::size_t>(sizes.sizeB), .sizes = sizes, .key = 0xC3, .payload = payload});

        const ImageCheck check = CheckFirmwareImage(image, sizes);

        ASSERT_EQ(check.status, link_status::kOk);
        EXPECT_EQ(check.header.key, 0xC3);
        EXPECT_EQ(check.header.payloadLength, payload.size());
        const auto read = ImagePayload(image, check.header);
        EXPECT_TRUE(std::equal(read.begin(), read.end(), payload.begin(), payload.end()));
    }
}

}  // namespace
}  // namespace zorvane
