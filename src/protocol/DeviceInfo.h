#pragma once

#include "link/Report.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zorvane {

// The frame's identification as the home page shows it and the charts size their columns by.
// Texts are UTF-8.
struct DeviceInfo {
    std::int32_t xReceiverCount = 0;
    std::int32_t yReceiverCount = 0;
    std::string maxTouchPointsText;
    std::string vidPidText;
    std::string modelText;
    std::string firmwareVersionText;
    std::string secondVersionText;
    std::string identificationCode;
    std::string interfacePath;
    std::string identificationSuffix;
    std::string buildTimeText;
    std::array<std::int32_t, 4> layoutParams{};
    std::int32_t straightThreshold = 0;
    std::int32_t obliqueThreshold = 0;
    std::int32_t layoutByte36 = 0;
    std::int32_t layoutByte37 = 0;
    std::int32_t xParamA = 0;
    std::int32_t yParamA = 0;
    std::int32_t xParamB = 0;
    std::int32_t yParamB = 0;
    std::int32_t xParamC = 0;
    std::int32_t yParamC = 0;
    std::vector<int> xBoards;
    std::vector<int> yBoards;

    bool operator==(const DeviceInfo&) const = default;
};

void CopyDeviceInfo(DeviceInfo& target, const DeviceInfo& source);

// Each fills the fields that one reply carries (the layout's interface path comes from the channel).
void DecodeIdentity(const Report& reply, DeviceInfo& info);
void DecodeModelName(const Report& reply, DeviceInfo& info);
void DecodeLayout(const Report& reply, DeviceInfo& info);
void DecodeAxisParameters(const Report& reply, DeviceInfo& info);

// The boards along each side as the home page shows them, e.g. "[X:64+64+32·Y:64+48]".
std::string BoardLayoutText(const std::vector<int>& xBoards, const std::vector<int>& yBoards);

// The receiver counts of a layout reply as "<x>-<y>": ties a calibration record to a frame size.
std::string LayoutDeviceId(const Report& layoutReply);

}  // namespace zorvane
