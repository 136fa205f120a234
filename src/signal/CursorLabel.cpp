#include "signal/CursorLabel.h"

#include "signal/ChartVersion.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace zorvane {
namespace {

constexpr std::int32_t kLegacyBoardSize = 64;
constexpr std::int32_t kNoPartnerMark = 2;

struct BoardPosition {
    std::int64_t board;
    std::int64_t position;  // 1-based within the board
};

std::string Label(BoardPosition sender, BoardPosition receiver)
{
    char text[96];
    std::snprintf(text, sizeof text, "S(Baord%02lld-%02lld)->R(Board%02lld-%02lld)",
                  static_cast<long long>(sender.board), static_cast<long long>(sender.position),
                  static_cast<long long>(receiver.board), static_cast<long long>(receiver.position));
    return text;
}

// On 64-receiver boards; `p` may be 0 or negative for an emitter before the first receiver.
BoardPosition OnLegacyBoards(std::int64_t p)
{
    const std::int64_t offset = p - 1;
    const std::int64_t remainder = (offset % kLegacyBoardSize + kLegacyBoardSize) % kLegacyBoardSize;
    return {(offset - remainder) / kLegacyBoardSize + 1, remainder + 1};
}

std::optional<std::int64_t> PartnerPosition(std::int64_t n, ScanDirection direction, std::int64_t k)
{
    switch (direction) {
    case ScanDirection::Forward: return n + k;
    case ScanDirection::Middle: return n;
    case ScanDirection::Behind: return n - k;
    }
    return std::nullopt;
}

BoardPosition OnRealBoards(std::int64_t n, const std::vector<int>& boards)
{
    std::int64_t board = 1;
    for (const int size : boards) {
        if (n <= size)
            return {board, n};
        n -= size;
        ++board;
    }
    return {board, 0};
}

}  // namespace

std::string DescribeCursorPosition(CursorColumn cursor, ScanDirection direction, const ScanSeries& cursorAxisValue,
                                   const DeviceInfo& info)
{
    const std::int64_t n = cursor.index;
    if (n == 0)
        return {};
    if (ChartVersion(info.firmwareVersionText) >= kRealBoardsVersion) {
        const BoardPosition here =
            OnRealBoards(n, cursor.axis == ScanAxis::X ? info.xBoards : info.yBoards);
        return Label(here, here);
    }
    const std::int64_t k = std::count(cursorAxisValue.begin(), cursorAxisValue.end(), kNoPartnerMark);
    const std::optional<std::int64_t> partner = PartnerPosition(n, direction, k);
    if (!partner)
        return {};
    return Label(OnLegacyBoards(n), OnLegacyBoards(*partner));
}

}  // namespace zorvane
