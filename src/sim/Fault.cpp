#include "sim/Fault.h"

#include "sim/SimulatedFrame.h"

#include <algorithm>

namespace zorvane {
namespace {

// The report id of the frame's touch collection: what a stray input report of another collection
// would start with.
constexpr std::uint8_t kForeignReportId = 0x01;

// A reply code outside every recognition rule (not 2, not the sub-command, not the sub-command + 0x80),
// and never 0 or 2, so the report cannot turn into an event report either.
std::uint8_t UnmatchedReplyCode(const Report& request)
{
    return request[2] == 0x7F ? 0x7E : 0x7F;
}

// Makes `report` answer nothing: an unmatched reply code, and bytes 5 and 6 that do not name the request.
void Unmatch(Report& report, const Report& request)
{
    report[2] = UnmatchedReplyCode(request);
    if (report[5] == request[1] && report[6] == request[2])
        report[6] = static_cast<std::uint8_t>(~report[6]);
}

// Reproducible noise: the same request always gets the same garbage.
Report Noise(const Report& request)
{
    std::uint32_t seed = 0x9E3779B9u;
    for (const std::uint8_t byte : request)
        seed = seed * 31u + byte;
    Report noise{};
    for (std::uint8_t& byte : noise) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    noise[0] = kNormalHeader;
    return noise;
}

}  // namespace

std::vector<InputReport> Fault::Apply(const Report& request, std::vector<InputReport> replies) const
{
    for (InputReport& reply : replies) {
        switch (kind) {
        case Kind::RefuseWrite:
        case Kind::NoReply:
            return {};
        case Kind::LateReply:
            reply.delay += delay;
            break;
        case Kind::WrongReplyCode:
            Unmatch(reply.bytes, request);
            break;
        case Kind::StatusReply:
            reply.bytes = SimulatedFrame::StatusReplyTo(request, statusCode);
            break;
        case Kind::CodeTwoReply:
            reply.bytes[2] = 2;
            break;
        case Kind::ForeignReport:
            reply.bytes[0] = kForeignReportId;
            break;
        case Kind::Garbage:
            reply.bytes = Noise(request);
            Unmatch(reply.bytes, request);
            break;
        case Kind::ShortReport:
            reply.length = std::min(length, reply.length);
            break;
        }
    }
    return replies;
}

}  // namespace zorvane
