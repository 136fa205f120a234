#include "protocol/CommandTable.h"

#include <gtest/gtest.h>

#include <numeric>
#include <span>
#include <vector>

namespace zorvane {
namespace {

std::vector<int> Head(const Command& c, std::size_t n = 6)
{
    return std::vector<int>(c.request.begin(), c.request.begin() + static_cast<std::ptrdiff_t>(n));
}

TEST(CommandTable, HeadersParametersAndTimeouts)
{
    struct Case {
        const char* name;
        Command command;
        std::vector<int> head;  // bytes 0..5
        int timeoutMs;
    };
    using namespace commands;
    const Case cases[] = {
        {"GetDeviceIdentity", GetDeviceIdentity(), {0xFD, 0xA3, 0x00, 0, 0, 0}, 400},
        {"GetModelName", GetModelName(), {0xFD, 0xA3, 0x01, 0, 0, 0}, 400},
        {"GetFrameLayout", GetFrameLayout(), {0xFD, 0xA5, 0x00, 0, 0, 0}, 400},
        {"GetAxisParameters", GetAxisParameters(), {0xFD, 0xA8, 0x10, 0, 0, 0}, 400},
        {"ReadSignalChunk", ReadSignalChunk(0x21, 0, 0), {0xFD, 0xA5, 0x01, 0, 0, 0x21}, 2000},
        {"ReadTwoPointCalibration", ReadTwoPointCalibration(), {0xFD, 0xA1, 0x03, 1, 0, 0}, 400},
        {"ReadNinePointCalibration", ReadNinePointCalibration(), {0xFD, 0xA1, 0x03, 2, 0, 0}, 400},
        {"CommitTwoPointCalibration", CommitTwoPointCalibration(), {0xFD, 0xA1, 0x02, 1, 0, 0}, 400},
        {"CommitNinePointCalibration", CommitNinePointCalibration(), {0xFD, 0xA1, 0x02, 2, 0, 0}, 400},
        {"ResetCalibration", ResetCalibration(), {0xFD, 0xA1, 0x04, 0, 0, 0}, 400},
        {"GetCalibrationKind", GetCalibrationKind(), {0xFD, 0xA1, 0x05, 0, 0, 0}, 400},
        {"SetCalibrationKind", SetCalibrationKind(CalibrationKind::NinePoint), {0xFD, 0xA1, 0x06, 0, 0, 2}, 400},
        {"GetRotation", GetRotation(), {0xFD, 0xA7, 0x02, 0, 0, 0}, 400},
        {"SetRotation carries 02 in byte 3", SetRotation(3), {0xFD, 0xA7, 0x00, 2, 0, 3}, 400},
        {"GetReverse", GetReverse(), {0xFD, 0xA7, 0x04, 0, 0, 0}, 400},
        {"SetReverse", SetReverse(1), {0xFD, 0xA7, 0x05, 0, 0, 1}, 400},
        {"GetTouchMode", GetTouchMode(), {0xFD, 0xA4, 0x04, 0, 0, 0}, 400},
        {"SetTouchMode Muli-Touch", SetTouchMode(touch_mode::kMultiTouch), {0xFD, 0xA4, 0x00, 0, 0, 3}, 400},
        {"SetTouchMode scan on", SetTouchMode(touch_mode::kScanOn), {0xFD, 0xA4, 0x00, 0, 0, 0xCC}, 400},
        {"SetLed", SetLed(1), {0xFD, 0xA8, 0x08, 0, 0, 1}, 400},
        {"Initialise", Initialise(), {0xFD, 0xA2, 0x09, 0, 0, 0}, 8000},
        {"CommandA212", CommandA212(1), {0xFD, 0xA2, 0x12, 0, 0, 1}, 400},
        {"Command04 opening", Command04(0), {0xFD, 0x04, 0x00, 0, 0, 0}, 400},
        {"Command04 closing", Command04(1), {0xFD, 0x04, 0x01, 0, 0, 0}, 400},
        {"EnterBootloader", EnterBootloader(), {0xFD, 0xA8, 0x00, 0, 0, 1}, 400},
        {"BootloaderProbe", BootloaderProbe(), {0xFB, 0xA0, 0x00, 0, 0, 0}, 1000},
        {"BootloaderFinish", BootloaderFinish(), {0xFB, 0xA0, 0x03, 0, 0, 0}, 2000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Head(c.command), c.head) << c.name;
        EXPECT_EQ(c.command.timeoutMs, c.timeoutMs) << c.name;
        EXPECT_TRUE(std::all_of(c.command.request.begin() + 6, c.command.request.end(), [](auto b) { return b == 0; }) ||
                    std::string(c.name) == "ReadSignalChunk")
            << c.name << ": unnamed bytes are 0";
    }
}

TEST(CommandTable, SignalChunkIndexesAreLittleEndian)
{
    const Command c = commands::ReadSignalChunk(3, 0x0137, 55);
    EXPECT_EQ(Head(c, 10), (std::vector<int>{0xFD, 0xA5, 0x01, 0, 0, 3, 0x37, 0x01, 55, 0}));
}

TEST(CommandTable, CalibrationValuesAreBigEndian)
{
    const Command two = commands::WriteTwoPointCalibration({0x0102, 0x0304, 0x0506, 0x0304, 0x0506, 0x0708, 0x0102, 0x0708});
    EXPECT_EQ(std::vector<int>(two.request.begin() + 6, two.request.begin() + 22),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 3, 4, 5, 6, 7, 8, 1, 2, 7, 8}));
    EXPECT_EQ(Head(two, 4), (std::vector<int>{0xFD, 0xA1, 0x01, 1}));

    std::array<std::uint16_t, kNinePointValues> points{};
    std::iota(points.begin(), points.end(), std::uint16_t{0xFFF0});
    const Command nine = commands::WriteNinePointCalibration(points);
    EXPECT_EQ(Head(nine, 4), (std::vector<int>{0xFD, 0xA1, 0x01, 2}));
    EXPECT_EQ(nine.request[6], 0xFF);
    EXPECT_EQ(nine.request[7], 0xF0);
    EXPECT_EQ(nine.request[40], 0x00);  // 0xFFF0 + 17 wraps to 0x0001
    EXPECT_EQ(nine.request[41], 0x01);
    EXPECT_EQ(nine.request[42], 0);
}

TEST(CommandTable, BootloaderBeginAndDataCarryImageBytes)
{
    std::vector<std::uint8_t> image(0x100);
    std::iota(image.begin(), image.end(), std::uint8_t{0});
    const Command begin = commands::BootloaderBegin(image);
    EXPECT_EQ(Head(begin, 9), (std::vector<int>{0xFB, 0xA0, 0x01, 0, 0, 0x45, 0x42, 0x43, 0x44}));
    EXPECT_EQ(begin.request[9], 0x46);
    EXPECT_EQ(begin.request[28], 0x59);
    EXPECT_EQ(begin.request[29], 0);
    EXPECT_EQ(begin.timeoutMs, 10000);
    const Command cut = commands::BootloaderBegin(std::span(image).first(0x44));
    EXPECT_EQ(Head(cut, 9), (std::vector<int>{0xFB, 0xA0, 0x01, 0, 0, 0, 0x42, 0x43, 0})) << "what the file lacks is 0";
    EXPECT_EQ(cut.request[9], 0);

    std::array<std::uint8_t, kBootloaderPacket> payload{};
    payload.fill(0xAA);
    const Command data = commands::BootloaderData(257, payload);
    EXPECT_EQ(Head(data, 8), (std::vector<int>{0xFB, 0xA0, 0x02, 0, 0, 1, 56, 0}));
    EXPECT_TRUE(std::all_of(data.request.begin() + 8, data.request.end(), [](auto b) { return b == 0xAA; }));
    EXPECT_EQ(data.timeoutMs, 400);
}

}  // namespace
}  // namespace zorvane
