#include "signal/AcquisitionFailureHook.h"

#include <mutex>

namespace zorvane {
namespace {

struct InstalledHook {
    std::mutex lock;
    AcquisitionFailureHook hook;
};

InstalledHook& Installed()
{
    static InstalledHook installed;
    return installed;
}

}  // namespace

void SetAcquisitionFailureHook(AcquisitionFailureHook hook)
{
    InstalledHook& installed = Installed();
    std::lock_guard guard(installed.lock);
    installed.hook = std::move(hook);
}

void RunAcquisitionFailureHook(ScanChart& failed)
{
    AcquisitionFailureHook hook;
    {
        InstalledHook& installed = Installed();
        std::lock_guard guard(installed.lock);
        hook = installed.hook;
    }
    // Outside the lock, so the hook may replace itself.
    if (hook)
        hook(failed);
}

}  // namespace zorvane
