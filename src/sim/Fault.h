#pragma once

#include "link/Report.h"
#include "sim/InputReport.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorvane {

// One way the link to the frame can go wrong for a request. The frame still receives the request
// (except for RefuseWrite) and acts on it; the fault changes what comes back.
struct Fault {
    enum class Kind {
        RefuseWrite,     // the write fails; the frame never sees the request
        NoReply,         // nothing comes back
        LateReply,       // the replies come `delay` later than usual
        WrongReplyCode,  // byte 2 matches no recognition rule
        StatusReply,     // a status reply with `statusCode` in byte 2 replaces the reply
        CodeTwoReply,    // the reply carries the catch-all reply code 2
        ForeignReport,   // the reply arrives under a report id other than 0xFD/0xFB
        Garbage,         // a 0xFD report of noise that answers nothing replaces the reply
        ShortReport,     // only the first `length` bytes of the reply arrive
    };

    Kind kind = Kind::NoReply;
    std::chrono::milliseconds delay{0};
    std::uint8_t statusCode = 0;
    std::size_t length = 0;

    static Fault RefusedWrite() { return {Kind::RefuseWrite}; }
    static Fault NoReply() { return {Kind::NoReply}; }
    static Fault LateReply(std::chrono::milliseconds delay) { return {Kind::LateReply, delay}; }
    static Fault WrongReplyCode() { return {Kind::WrongReplyCode}; }
    static Fault StatusReply(std::uint8_t statusCode) { return {.kind = Kind::StatusReply, .statusCode = statusCode}; }
    static Fault CodeTwoReply() { return {Kind::CodeTwoReply}; }
    static Fault ForeignReport() { return {Kind::ForeignReport}; }
    static Fault Garbage() { return {Kind::Garbage}; }
    static Fault ShortReport(std::size_t length = kReportSize / 2) { return {.kind = Kind::ShortReport, .length = length}; }

    // The frame's `replies` to `request` as this fault lets them through.
    std::vector<InputReport> Apply(const Report& request, std::vector<InputReport> replies) const;
};

}  // namespace zorvane
