#include "DeviceInfoListing.h"

#include "protocol/DeviceProtocol.h"

#include <iomanip>

namespace zorvane {
namespace {

void Row(std::ostream& out, const char* label, const std::string& value)
{
    out << "  " << label << "\t" << value << "\n";
}

}  // namespace

int ListDeviceInfo(std::function<LinkPlatform()> platform, std::ostream& out)
{
    SetLinkPlatformFactory(std::move(platform));
    DeviceInfo info;
    const LinkStatus status = QueryDeviceInfo(GetDeviceProtocol(), info);
    if (status != link_status::kOk) {
        out << "未连接设备 (LinkStatus " << status << ")\n";
        return 1;
    }
    out << "设备连接正常  " << info.interfacePath << "\n设备信息\n";
    Row(out, "型号", info.modelText);
    Row(out, "版本", info.firmwareVersionText + " | " + info.secondVersionText);
    Row(out, "识别码", info.identificationCode + info.identificationSuffix);
    Row(out, "最大点数", info.maxTouchPointsText);
    Row(out, "拼版", BoardLayoutText(info.xBoards, info.yBoards));
    Row(out, "编译时间", info.buildTimeText);
    Row(out, "VID&PID", info.vidPidText);
    return 0;
}

}  // namespace zorvane
