#include "signal/ChartInfo.h"

namespace zorvane {

DeviceInfo ChartInfo::get() const
{
    std::lock_guard guard(lock_);
    return info_;
}

void ChartInfo::set(const DeviceInfo& info)
{
    std::lock_guard guard(lock_);
    CopyDeviceInfo(info_, info);
}

LinkStatus ChartInfo::Refresh(DeviceProtocol& protocol)
{
    // The query takes up to four transactions; the lock is not held across them.
    DeviceInfo info = get();
    const LinkStatus status = QueryDeviceInfo(protocol, info);
    set(info);
    return status;
}

ChartInfo& chartInfo()
{
    static ChartInfo info;
    return info;
}

}  // namespace zorvane
