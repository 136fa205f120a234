#include "signal/CadenceCounter.h"

namespace zorvane {

bool CadenceCounter::Tick()
{
    std::lock_guard guard(lock_);
    if (++count_ < period_)
        return false;
    count_ = 0;
    return true;
}

CadenceCounter& StandardCadence()
{
    static CadenceCounter counter(6);
    return counter;
}

CadenceCounter& PowerCadence()
{
    static CadenceCounter counter(16);
    return counter;
}

}  // namespace zorvane
