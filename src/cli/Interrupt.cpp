#include "cli/Interrupt.h"

#include <signal.h>

#include <atomic>

namespace zorvane::cli {
namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler may only touch a lock-free flag");

void OnSignal(int) { RequestInterrupt(); }

}  // namespace

void InstallInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESETHAND;  // the second one is not caught
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool InterruptRequested() { return interrupted.load(); }

void RequestInterrupt() { interrupted.store(true); }

}  // namespace zorvane::cli
