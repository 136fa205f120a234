#include "signal/ScaleSet.h"

namespace zorvane {

const ScaleSet& ScaleSetFor(int version)
{
    return version >= kScaleSetBVersion ? kScaleSetB : kScaleSetA;
}

}  // namespace zorvane
