#include "signal/ScanSelection.h"

#include <mutex>

namespace zorvane {
namespace {

struct SharedSelection {
    std::mutex lock;
    ScanSelection selection;
};

SharedSelection& Shared()
{
    static SharedSelection shared;
    return shared;
}

}  // namespace

ScanSelection CurrentScanSelection()
{
    SharedSelection& shared = Shared();
    std::lock_guard guard(shared.lock);
    return shared.selection;
}

void SetScanSelection(const ScanSelection& selection)
{
    SharedSelection& shared = Shared();
    std::lock_guard guard(shared.lock);
    shared.selection = selection;
}

}  // namespace zorvane
