#pragma once

#include <functional>

namespace zorvane {

class ScanChart;

// Called when a signal read of `failed` fails, after its series have been cleared. The main window
// installs the panel's stop routine here.
//
// It runs on the failing chart's WORKER thread: it must not touch widgets (post a queued call to the
// interface thread for that), must not wait for the interface thread (which may be waiting for this
// worker to end), and may only use thread-safe state such as `failed.requests()`.
using AcquisitionFailureHook = std::function<void(ScanChart& failed)>;

// Installs (or, with an empty function, removes) the process-wide hook; safe from any thread.
void SetAcquisitionFailureHook(AcquisitionFailureHook hook);
// Runs the installed hook, if any, on the calling thread.
void RunAcquisitionFailureHook(ScanChart& failed);

}  // namespace zorvane
