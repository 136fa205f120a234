#include "signal/ChartCaption.h"

namespace zorvane {

std::string ChartCaption(const DeviceInfo& info)
{
    return info.modelText + "|" + info.firmwareVersionText + "|" + info.identificationCode + "|" +
           info.maxTouchPointsText + "    " + BoardLayoutText(info.xBoards, info.yBoards);
}

}  // namespace zorvane
