#include "cli/ProgressLine.h"

#include <algorithm>
#include <string>

namespace zorvane::cli {
namespace {

constexpr int kBarWidth = 40;

}  // namespace

void ProgressLine::Show(float percent)
{
    const int whole = std::clamp(static_cast<int>(percent), 0, 100);
    if (whole == shown_)
        return;
    shown_ = whole;
    if (!terminal_) {
        out_ << whole << "%\n" << std::flush;
        return;
    }
    const int filled = whole * kBarWidth / 100;
    out_ << "\r[" << std::string(filled, '#') << std::string(kBarWidth - filled, '.') << "] " << whole << "%"
         << std::flush;
}

void ProgressLine::Finish()
{
    if (terminal_ && shown_ >= 0)
        out_ << "\n" << std::flush;
    shown_ = -1;
}

}  // namespace zorvane::cli
