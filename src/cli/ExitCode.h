#pragma once

#include "link/LinkStatus.h"

#include <string>
#include <string_view>

namespace zorvane::cli {

// What zorvanectl's exit status says; scripts rely on the numbers, so they never change.
enum class ExitCode : int {
    Success = 0,
    Failure = 1,        // anything else that went wrong
    Usage = 2,          // the command line is wrong
    NoFrame = 3,        // no frame found
    AccessRefused = 4,  // the frame is there but this user may not open it
    BadFile = 5,        // a file cannot be read or written, or is not a valid file of its kind
    Refused = 6,        // the frame refused a request or did not answer it
    FrameBusy = 7,      // another program has the frame
    Interrupted = 130,  // Ctrl+C (128 + SIGINT, as shells report it)
};

// How a command ended: its exit code and, unless it succeeded, what to tell the technician.
struct Outcome {
    ExitCode code = ExitCode::Success;
    std::string message;

    static Outcome Ok() { return {}; }
    bool ok() const { return code == ExitCode::Success; }
};

// A failed device operation: `doing` names it ("reading the settings"); `accessRefused` is whether
// the last scan found the frame and was refused its node.
Outcome LinkFailure(LinkStatus status, bool accessRefused, std::string_view doing);

// The exit codes as --help lists them.
std::string_view ExitCodeHelp();

}  // namespace zorvane::cli
