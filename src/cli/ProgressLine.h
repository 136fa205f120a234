#pragma once

#include <ostream>

namespace zorvane::cli {

// Transfer progress for a technician: on a terminal one bar redrawn in place, otherwise a plain
// "NN%" line whenever the whole percentage grows, for logs and scripts.
class ProgressLine {
public:
    ProgressLine(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}

    void Show(float percent);
    // Ends the bar's line; nothing for plain lines.
    void Finish();

private:
    std::ostream& out_;
    const bool terminal_;
    int shown_ = -1;
};

}  // namespace zorvane::cli
