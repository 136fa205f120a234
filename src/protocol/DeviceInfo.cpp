#include "DeviceInfo.h"

#include "AnsiText.h"
#include "BoardList.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <span>

namespace zorvane {
namespace {

constexpr std::uint8_t kAxisSuffixCode = 0x90;
constexpr std::size_t kModelNameStart = 5;
constexpr std::size_t kBuildTimeStart = 24;
constexpr std::size_t kBuildTimeLength = 20;

// Two bytes as "%02x%02x", high byte first.
std::string HexWord(std::uint8_t high, std::uint8_t low)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x", high, low);
    return text;
}


std::string JoinWithPlus(const std::vector<int>& values)
{
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i)
        text += (i ? "+" : "") + std::to_string(values[i]);
    return text;
}

}  // namespace

void CopyDeviceInfo(DeviceInfo& target, const DeviceInfo& source) { target = source; }

void DecodeIdentity(const Report& r, DeviceInfo& info)
{
    info.vidPidText = HexWord(r[18], r[19]) + "&" + HexWord(r[21], r[20]);
    info.firmwareVersionText = HexWord(r[23], r[22]);
    info.identificationCode = HexWord(r[9], r[8]);
    std::transform(info.identificationCode.begin(), info.identificationCode.end(), info.identificationCode.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    // A flag byte of 0 or 0xFF marks the touch-point count as the frame's fixed maximum.
    info.maxTouchPointsText = std::to_string(r[11]) + (r[10] == 0 || r[10] == 0xFF ? "(F)" : "");
    info.buildTimeText = DecodeAnsiText(std::span(r).subspan(kBuildTimeStart, kBuildTimeLength));
    info.secondVersionText = HexWord(r[47], r[46]);
}

void DecodeModelName(const Report& r, DeviceInfo& info)
{
    const std::size_t count = std::min<std::size_t>(r[3], r.size() - kModelNameStart);
    const auto name = std::span(r).subspan(kModelNameStart, count);
    // A NUL ends the name as any text display would end it.
    info.modelText = WidenBytes({name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0})});
}

void DecodeLayout(const Report& r, DeviceInfo& info)
{
    info.xReceiverCount = Le16(r, 6);
    info.yReceiverCount = Le16(r, 8);
    info.layoutParams = {r[10], r[11], r[12], r[13]};
    info.straightThreshold = r[14];
    info.obliqueThreshold = r[15];
    BoardLists boards = ParseBoardLists(r);
    info.xBoards = std::move(boards.x);
    info.yBoards = std::move(boards.y);
    info.layoutByte36 = r[36];
    info.layoutByte37 = r[37];
}

void DecodeAxisParameters(const Report& r, DeviceInfo& info)
{
    info.identificationSuffix.clear();
    if (r[2] == kAxisSuffixCode)
        info.identificationSuffix = " | " + std::to_string(r[5]) + std::to_string(r[6]) + std::to_string(r[7]) +
                                    std::to_string(r[8]);
    info.xParamB = r[6];
    info.yParamB = r[8];
    info.xParamC = r[9];
    info.xParamA = r[10];
    info.yParamC = r[11];
    info.yParamA = r[12];
}

std::string BoardLayoutText(const std::vector<int>& xBoards, const std::vector<int>& yBoards)
{
    return "[X:" + JoinWithPlus(xBoards) + "\u00B7Y:" + JoinWithPlus(yBoards) + "]";
}

std::string LayoutDeviceId(const Report& layoutReply)
{
    return std::to_string(Le16(layoutReply, 6)) + "-" + std::to_string(Le16(layoutReply, 8));
}

}  // namespace zorvane
