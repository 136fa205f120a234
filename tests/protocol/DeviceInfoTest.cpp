#include "protocol/AnsiText.h"
#include "protocol/BoardList.h"
#include "protocol/DeviceInfo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zorvane {
namespace {

Report WithText(std::size_t at, const char* text, Report r = {})
{
    std::memcpy(r.data() + at, text, std::min(std::strlen(text), r.size() - at));
    return r;
}

TEST(BoardList, ParsesLettersNumbersAndEnds)
{
    struct Case {
        const char* name;
        Report reply;
        std::vector<int> x, y;
    };
    Report filled{};
    std::fill(filled.begin() + 16, filled.end(), 'B');
    Report numberAtEnd{};
    std::fill(numberAtEnd.begin() + 16, numberAtEnd.end() - 1, 'A');
    numberAtEnd[63] = '7';
    std::vector<int> boardsThenSeven(47, 64);
    boardsThenSeven.push_back(7);
    const Case cases[] = {
        {"letters", WithText(20, "CC", WithText(16, "AAB")), {64, 64, 32}, {48, 48}},
        {"two-digit number then a letter", WithText(16, "16A"), {16, 64}, {}},
        {"empty lists", Report{}, {}, {}},
        {"blanks and sign as the frame tools read numbers", WithText(16, " 8-2"), {8, -2}, {}},
        {"a non-number item counts 0", WithText(16, "xyA"), {0, 64}, {}},
        {"no terminator: the report end ends the list", filled, std::vector<int>(48, 32), {}},
        {"a number in the last byte", numberAtEnd, boardsThenSeven, {}},
    };
    for (const auto& c : cases) {
        const BoardLists lists = ParseBoardLists(c.reply);
        EXPECT_EQ(lists.x, c.x) << c.name;
        EXPECT_EQ(lists.y, c.y) << c.name;
    }
}

TEST(DeviceInfoDecoding, BoardLayoutText)
{
    EXPECT_EQ(BoardLayoutText({64, 64, 32}, {64, 48}), "[X:64+64+32\u00B7Y:64+48]");
    EXPECT_EQ(BoardLayoutText({}, {64}), "[X:\u00B7Y:64]");
}

TEST(DeviceInfoDecoding, IdentityTexts)
{
    Report r{};
    r[2] = 0x80;
    r[8] = 0xab, r[9] = 0x12;
    r[10] = 0, r[11] = 10;
    r[18] = 0x11, r[19] = 0x01, r[20] = 0x02, r[21] = 0x00;
    r[22] = 0x10, r[23] = 0x02;
    r[46] = 0x03, r[47] = 0x00;
    r = WithText(24, "2026-11-20 10:31:07", r);
    DeviceInfo info;
    DecodeIdentity(r, info);
    EXPECT_EQ(info.identificationCode, "12AB");
    EXPECT_EQ(info.maxTouchPointsText, "10(F)");
    EXPECT_EQ(info.vidPidText, "1101&0002");
    EXPECT_EQ(info.firmwareVersionText, "0210");
    EXPECT_EQ(info.secondVersionText, "0003");
    EXPECT_EQ(info.buildTimeText, "2026-11-20 10:31:07");

    const struct {
        std::uint8_t flag;
        const char* text;
    } flags[] = {{0, "10(F)"}, {0xFF, "10(F)"}, {1, "10"}};
    for (const auto& f : flags) {
        r[10] = f.flag;
        DecodeIdentity(r, info);
        EXPECT_EQ(info.maxTouchPointsText, f.text) << int(f.flag);
    }
}

TEST(DeviceInfoDecoding, BuildTimeIsTwentyBytesInTheToolsCodePage)
{
    // "编译" in GB18030, then ASCII; the 20-byte field has no NUL of its own here.
    const std::uint8_t gb[] = {0xB1, 0xE0, 0xD2, 0xEB};
    EXPECT_EQ(DecodeAnsiText(gb), "编译");
    const std::uint8_t invalid[] = {'a', 0xFF, 'b'};
    EXPECT_EQ(DecodeAnsiText(invalid), "a\xEF\xBF\xBD" "b");
    const std::uint8_t truncated[] = {'a', 0xB1};
    EXPECT_EQ(DecodeAnsiText(truncated), "a\xEF\xBF\xBD");

    Report r = WithText(24, "ABCDEFGHIJKLMNOPQRSTUVWX");
    DeviceInfo info;
    DecodeIdentity(r, info);
    EXPECT_EQ(info.buildTimeText, "ABCDEFGHIJKLMNOPQRST");
}

TEST(DeviceInfoDecoding, ModelNameTakesTheCountedBytes)
{
    struct Case {
        const char* name;
        std::uint8_t count;
        Report reply;
        std::string model;
    };
    Report full{};
    std::fill(full.begin() + 5, full.end(), 'M');
    const Case cases[] = {
        {"counted", 4, WithText(5, "ZV65T-X"), "ZV65"},
        {"a NUL ends it", 9, WithText(5, "ZV"), "ZV"},
        {"at most up to the report end", 255, full, std::string(59, 'M')},
        {"bytes widen one to one", 1, WithText(5, "\xE9"), "\xC3\xA9"},
    };
    for (auto c : cases) {
        c.reply[3] = c.count;
        DeviceInfo info;
        DecodeModelName(c.reply, info);
        EXPECT_EQ(info.modelText, c.model) << c.name;
    }
}

TEST(DeviceInfoDecoding, LayoutAndAxisParameters)
{
    Report layout = WithText(20, "CC", WithText(16, "AAB"));
    layout[6] = 0x40, layout[7] = 0x01, layout[8] = 0xF0, layout[9] = 0x00;
    for (int i = 10; i < 16; ++i)
        layout[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    layout[36] = 0x36, layout[37] = 0x37;
    DeviceInfo info;
    DecodeLayout(layout, info);
    EXPECT_EQ(info.xReceiverCount, 320);
    EXPECT_EQ(info.yReceiverCount, 240);
    EXPECT_EQ(info.layoutParams, (std::array<std::int32_t, 4>{10, 11, 12, 13}));
    EXPECT_EQ(info.straightThreshold, 14);
    EXPECT_EQ(info.obliqueThreshold, 15);
    EXPECT_EQ(info.xBoards, (std::vector<int>{64, 64, 32}));
    EXPECT_EQ(info.yBoards, (std::vector<int>{48, 48}));
    EXPECT_EQ(info.layoutByte36, 0x36);
    EXPECT_EQ(info.layoutByte37, 0x37);
    EXPECT_EQ(LayoutDeviceId(layout), "320-240");

    Report axis{};
    axis[2] = 0x90;
    for (int i = 5; i <= 12; ++i)
        axis[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i - 4);
    DecodeAxisParameters(axis, info);
    EXPECT_EQ(info.identificationSuffix, " | 1234");
    EXPECT_EQ((std::vector<int>{info.xParamB, info.yParamB, info.xParamC, info.xParamA, info.yParamC, info.yParamA}),
              (std::vector<int>{2, 4, 5, 6, 7, 8}));
    axis[2] = 0x80;
    DecodeAxisParameters(axis, info);
    EXPECT_EQ(info.identificationSuffix, "");
}

}  // namespace
}  // namespace zorvane
