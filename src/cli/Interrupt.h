#pragma once

namespace zorvane::cli {

// Ctrl+C (SIGINT) and SIGTERM only raise a flag that long commands look at between steps; a second
// signal ends the program at once, as it would without the handler.
void InstallInterruptHandler();
bool InterruptRequested();
// What the handler does; tests call it directly.
void RequestInterrupt();

}  // namespace zorvane::cli
