#include "BoardList.h"

#include <cctype>

namespace zorvane {
namespace {

constexpr std::size_t kBoardListStart = 16;

// Reads a number the way the frame's own tools do (C's atoi: blanks, a sign, leading digits), but
// never past the end of the report and without overflow.
int LeadingNumber(const Report& report, std::size_t at)
{
    while (at < report.size() && std::isspace(report[at]))
        ++at;
    bool negative = false;
    if (at < report.size() && (report[at] == '+' || report[at] == '-'))
        negative = report[at++] == '-';
    long value = 0;
    for (; at < report.size() && std::isdigit(report[at]) && value < 100000000; ++at)
        value = value * 10 + (report[at] - '0');
    return static_cast<int>(negative ? -value : value);
}

// Parses one NUL-terminated list starting at `at`; returns where the next list starts.
std::size_t ParseList(const Report& report, std::size_t at, std::vector<int>& boards)
{
    while (at < report.size() && report[at] != 0) {
        switch (report[at]) {
        case 'A':
            boards.push_back(64);
            ++at;
            break;
        case 'B':
            boards.push_back(32);
            ++at;
            break;
        case 'C':
            boards.push_back(48);
            ++at;
            break;
        default:
            boards.push_back(LeadingNumber(report, at));
            at += 2;
            break;
        }
    }
    return at + 1;
}

}  // namespace

BoardLists ParseBoardLists(const Report& layoutReply)
{
    BoardLists lists;
    const std::size_t yStart = ParseList(layoutReply, kBoardListStart, lists.x);
    ParseList(layoutReply, yStart, lists.y);
    return lists;
}

}  // namespace zorvane
