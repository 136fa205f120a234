#include "ImageRefusal.h"

namespace zorvane {

std::string_view ImageRefusalText(LinkStatus status)
{
    switch (status) {
    case link_status::kImageUnreadable:
        return "打开固件文件失败";
    case link_status::kImageInvalid:
        return "固件文件格式错误";
    case link_status::kImageRejected:
        return "固件与设备匹配错误";
    default:
        return {};
    }
}

}  // namespace zorvane
