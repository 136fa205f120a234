// The updater against a scripted bootloader, where the exact requests and their order matter.
#include "ImageFile.h"
#include "LinkFixtures.h"
#include "protocol/FirmwareUpdater.h"
#include "sim/FirmwareImages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <stop_token>

namespace zorvane {
namespace {

using namespace std::chrono_literals;
using testing::ImageFile;
using testing::ReplyTo;

constexpr std::uint16_t kBootloaderVersion = 0x1305;
const AcceptedSizes kSizes = AcceptedSizesFor(kBootloaderVersion);
constexpr std::uint8_t kBegin = 0x01;
constexpr std::uint8_t kData = 0x02;
constexpr std::uint8_t kFinish = 0x03;

// A valid image for the scripted bootloader with a payload of `length` varied bytes.
std::vector<std::uint8_t> Image(std::size_t length, std::uint8_t seed = 1)
{
    std::vector<std::uint8_t> payload(length);
    std::iota(payload.begin(), payload.end(), seed);
    return LayOutImage({.fileSize = static_cast<std::size_t>(kSizes.sizeA), .sizes = kSizes, .key = 0x6B,
                        .targetBytes = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
                        .payload = payload});
}

// A bootloader that accepts every image and answers every packet, until a test says otherwise.
class ScriptedBootloader : public testing::ScriptedLink {
protected:
    ScriptedBootloader()
    {
        hid = std::make_shared<testing::FakeHid>(
            std::vector<testing::FakeInterface>{{"/dev/hidraw2", {0x1101, 0xFFFF, kBootloaderVersion}}});
        script = [](const Report& request) -> std::optional<Report> { return Accepting(request); };
    }

    static Report Accepting(const Report& request)
    {
        Report reply = ReplyTo(request);
        if (request[2] == kBegin)
            reply[5] = 1;
        return reply;
    }

    // Probes and reads the version, as the page does before it prepares an image.
    void FindBootloader()
    {
        ASSERT_EQ(Updater().ProbeBootloader(), link_status::kOk);
        ASSERT_EQ(Updater().ReadBootloaderVersion(), kBootloaderVersion);
        ClearRequests();
    }

    std::vector<Report> RequestsOf(std::uint8_t subCommand) const
    {
        std::vector<Report> found;
        for (const Report& request : Requests()) {
            if (request[0] == kBootloaderHeader && request[1] == 0xA0 && request[2] == subCommand)
                found.push_back(request);
        }
        return found;
    }

    // Created on first use, after SetUp has named the platform.
    static FirmwareUpdater& Updater() { return GetFirmwareUpdater(); }
};

TEST_F(ScriptedBootloader, VersionDecidesTheAcceptedSizesAndIsKeptWithTheFilter)
{
    FindBootloader();

    EXPECT_EQ(Updater().acceptedSizes(), kSizes);
    const DeviceFilter filter = Updater().bootFilter();
    EXPECT_EQ(filter.productId, 0xFFFF);
    EXPECT_EQ(filter.vendorId, 0x1101);
    EXPECT_EQ(filter.versionNumber, kBootloaderVersion);
    EXPECT_EQ(filter.devicePath, "/dev/hidraw2");
}

// The page's worker is stopped when the page goes: nothing more reaches the bootloader, nor a finish.
TEST_F(ScriptedBootloader, StoppedTransferSendsNoFurtherPacket)
{
    FindBootloader();
    const ImageFile file(Image(113));
    ASSERT_EQ(Updater().PrepareImage(file.path()), link_status::kOk);
    ClearRequests();
    std::stop_source stop;
    stop.request_stop();

    EXPECT_EQ(Updater().TransferImage(file.path(), stop.get_token()), link_status::kWriteFailed);
    EXPECT_TRUE(RequestsOf(kData).empty());
    EXPECT_TRUE(RequestsOf(kFinish).empty());
    EXPECT_EQ(Updater().progress.load(), 0.0f);
}

TEST_F(ScriptedBootloader, PayloadTravelsInFiftySixByteSlicesThenFinish)
{
    const struct {
        std::size_t length;
        std::size_t packets;
    } cases[] = {{0, 0}, {1, 1}, {56, 1}, {112, 2}, {113, 3}};
    FindBootloader();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const auto bytes = Image(c.length);
        const ImageFile file(bytes);
        ASSERT_EQ(Updater().PrepareImage(file.path()), link_status::kOk);
        ClearRequests();

        ASSERT_EQ(Updater().TransferImage(file.path()), link_status::kOk);

        const auto packets = RequestsOf(kData);
        ASSERT_EQ(packets.size(), c.packets);
        std::vector<std::uint8_t> sent;
        for (std::size_t i = 0; i < packets.size(); ++i) {
            EXPECT_EQ(packets[i][5], i);
            EXPECT_EQ(packets[i][6], 56);
            sent.insert(sent.end(), packets[i].begin() + 8, packets[i].end());
        }
        std::vector<std::uint8_t> expected(bytes.begin() + 0x100, bytes.begin() + 0x100 + c.length);
        expected.resize(c.packets * 56);  // the last packet is padded with zeros
        EXPECT_EQ(sent, expected);
        ASSERT_FALSE(Requests().empty());
        EXPECT_EQ(Requests().back()[2], kFinish);
        EXPECT_EQ(Requests().size(), c.packets + 1);
        EXPECT_EQ(Updater().progress.load(), 100.0f);
    }
}

TEST_F(ScriptedBootloader, FinishComesAPauseAfterTheLastPacket)
{
    std::chrono::steady_clock::time_point finishedAt;
    script = [&finishedAt](const Report& request) -> std::optional<Report> {
        if (request[2] == kFinish)
            finishedAt = std::chrono::steady_clock::now();  // on the test's own thread
        return Accepting(request);
    };
    FindBootloader();
    const ImageFile file(Image(0));
    ASSERT_EQ(Updater().PrepareImage(file.path()), link_status::kOk);

    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Updater().TransferImage(file.path()), link_status::kOk);

    EXPECT_TRUE(RequestsOf(kData).empty());
    EXPECT_GE(finishedAt - start, 100ms);
}

TEST_F(ScriptedBootloader, PacketIndexWrapsAt256)
{
    FindBootloader();
    const ImageFile file(Image(300 * 56));
    ASSERT_EQ(Updater().PrepareImage(file.path()), link_status::kOk);

    ASSERT_EQ(Updater().TransferImage(file.path()), link_status::kOk);

    const auto packets = RequestsOf(kData);
    ASSERT_EQ(packets.size(), 300u);
    for (std::size_t i = 0; i < packets.size(); ++i)
        ASSERT_EQ(packets[i][5], i % 256) << i;
}

TEST_F(ScriptedBootloader, BeginCarriesTheImageBytesAndItsAnswerDecides)
{
    const struct {
        const char* name;
        std::optional<std::uint8_t> accepted;  // reply byte 5; nothing for a status reply
        LinkStatus status;
    } cases[] = {
        {"accepted", 1, link_status::kOk},
        {"refused", 0, link_status::kImageRejected},
        {"other answer", 2, link_status::kImageRejected},
        {"status reply", std::nullopt, link_status::kImageRejected},
    };
    const auto bytes = Image(100);
    const ImageFile file(bytes);
    FindBootloader();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        script = [&c](const Report& request) -> std::optional<Report> {
            if (request[2] != kBegin)
                return Accepting(request);
            if (!c.accepted)
                return Report{0xFB, 0xA0, 0x84, 0, 0, request[1], request[2]};
            Report reply = ReplyTo(request);
            reply[5] = *c.accepted;
            return reply;
        };
        ClearRequests();

        EXPECT_EQ(Updater().PrepareImage(file.path()), c.status);

        const auto begins = RequestsOf(kBegin);
        ASSERT_EQ(begins.size(), 1u);
        const Report& begin = begins.front();
        EXPECT_EQ(begin[5], bytes[0x45]);
        EXPECT_TRUE(std::equal(begin.begin() + 6, begin.begin() + 9, bytes.begin() + 0x42));
        EXPECT_TRUE(std::equal(begin.begin() + 9, begin.begin() + 29, bytes.begin() + 0x46));
        // Nothing goes out for an image the bootloader did not take.
        ClearRequests();
        EXPECT_EQ(Updater().TransferImage(file.path()) == link_status::kOk, c.status == link_status::kOk);
        EXPECT_EQ(RequestsOf(kData).empty(), c.status != link_status::kOk);
    }
}

TEST_F(ScriptedBootloader, FilesThatCannotBeReadOrHaveTheWrongSizeSendNothing)
{
    const ImageFile wrongSize(std::vector<std::uint8_t>(static_cast<std::size_t>(kSizes.sizeA) + 1));
    const struct {
        const char* name;
        std::filesystem::path path;
        LinkStatus status;
    } cases[] = {
        {"missing", std::filesystem::path(::testing::TempDir()) / "zorvane-no-such-image.bin",
         link_status::kImageUnreadable},
        {"a directory", ::testing::TempDir(), link_status::kImageUnreadable},
        {"one byte too long", wrongSize.path(), link_status::kImageInvalid},
    };
    FindBootloader();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Updater().PrepareImage(c.path), c.status);
        EXPECT_EQ(Updater().TransferImage(c.path), c.status);
        EXPECT_TRUE(Requests().empty());
    }
}

TEST_F(ScriptedBootloader, FileChangedAfterPrepareIsNotSent)
{
    const auto prepared = Image(500);
    auto brokenChecksum = prepared;
    brokenChecksum[0x100 + 7] ^= 0x01;
    const struct {
        const char* name;
        std::optional<std::vector<std::uint8_t>> replacement;  // nothing: the file is removed
        LinkStatus status;
    } cases[] = {
        {"shortened", std::vector<std::uint8_t>(prepared.begin(), prepared.end() - 1), link_status::kImageInvalid},
        {"checksum no longer matches", brokenChecksum, link_status::kImageInvalid},
        {"another valid image", Image(500, 2), link_status::kImageInvalid},
        {"removed", std::nullopt, link_status::kImageUnreadable},
    };
    FindBootloader();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageFile file(prepared);
        ASSERT_EQ(Updater().PrepareImage(file.path()), link_status::kOk);
        if (c.replacement)
            file.Write(*c.replacement);
        else
            std::filesystem::remove(file.path());
        ClearRequests();

        EXPECT_EQ(Updater().TransferImage(file.path()), c.status);

        EXPECT_TRUE(Requests().empty());
        EXPECT_EQ(Updater().progress.load(), 0.0f);

        file.Write(prepared);
        EXPECT_EQ(Updater().TransferImage(file.path()), link_status::kImageInvalid)
            << "putting the file back does not bring the begin back";
        EXPECT_TRUE(Requests().empty());
    }
}

TEST_F(ScriptedBootloader, ProgressStaysAtTheLastAcknowledgedPacket)
{
    constexpr std::size_t kPackets = 5;
    const struct {
        const char* name;
        std::optional<std::uint8_t> silentOn;  // the sub-command left unanswered, with packet index 3
        LinkStatus status;
        float progress;
        std::size_t sent;  // requests of the transfer; a failed one is never retried nor followed
    } cases[] = {
        {"all answered", std::nullopt, link_status::kOk, 100.0f, kPackets + 1},
        {"packet 3 unanswered", kData, link_status::kNoReply, 2 * 100.0f / kPackets, 4},
        {"finish unanswered", kFinish, link_status::kNoReply, (kPackets - 1) * 100.0f / kPackets, kPackets + 1},
    };
    const ImageFile file(Image(kPackets * 56));
    FindBootloader();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        script = [&c](const Report& request) -> std::optional<Report> {
            const bool silent = request[2] == c.silentOn && (request[2] != kData || request[5] == 3);
            return silent ? std::nullopt : std::optional(Accepting(request));
        };
        ASSERT_EQ(Updater().PrepareImage(file.path()), link_status::kOk);
        ClearRequests();

        EXPECT_EQ(Updater().TransferImage(file.path()), c.status);

        EXPECT_EQ(Updater().progress.load(), c.progress);
        const std::vector<Report> sent = Requests();
        ASSERT_EQ(sent.size(), c.sent);
        EXPECT_EQ(sent.back()[2], c.silentOn.value_or(kFinish));
    }
}

}  // namespace
}  // namespace zorvane
