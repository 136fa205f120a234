#include "cli/ExitCode.h"

#include "link/DeviceChannel.h"

namespace zorvane::cli {

Outcome LinkFailure(LinkStatus status, bool accessRefused, std::string_view doing)
{
    const std::string during = std::string(doing) + ": ";
    switch (status) {
    case link_status::kOk:
        return Outcome::Ok();
    case link_status::kNoDevice:
        if (accessRefused)
            return {ExitCode::AccessRefused,
                    during + "the frame is plugged in but this user may not open its hidraw node. Install the udev "
                             "rule 70-zorvane.rules (sudo cmake --install build; sudo udevadm control "
                             "--reload-rules; sudo udevadm trigger --subsystem-match=hidraw) and log in at the "
                             "seat, or run as a user with read and write access to the node"};
        return {ExitCode::NoFrame, during + "no frame found; is it plugged in?"};
    case link_status::kSuspended:
        return {ExitCode::FrameBusy,
                during + "the frame maker's calibration program (" + kWatchedProgram + ") is running; close it first"};
    case link_status::kBusy:
        return {ExitCode::FrameBusy, during + "the frame is busy (status 41)"};
    default:
        return {ExitCode::Refused, during + "the frame refused the request or did not answer (status " +
                                       std::to_string(status) + ")"};
    }
}

std::string_view ExitCodeHelp()
{
    return "Exit status:\n"
           "  0    success\n"
           "  1    another failure\n"
           "  2    wrong command line\n"
           "  3    no frame found\n"
           "  4    the frame refused this user access (permissions: install the udev rule)\n"
           "  5    bad file: cannot be read or written, or not a valid file of its kind\n"
           "  6    the frame refused a request or did not answer\n"
           "  7    the frame is in use by another program (the window program, another zorvanectl,\n"
           "       the maker's calibration program)\n"
           "  130  interrupted (Ctrl+C)\n";
}

}  // namespace zorvane::cli
