#include "DeviceSetupModel.h"

#include "SettingsChange.h"
#include "SettingsCommands.h"

namespace zorvane {

void DeviceSetupModel::ReadSettings()
{
    QueryRotation(protocol_, deviceRotation_);
    QueryReverse(protocol_, reverse_);
    QueryTouchMode(protocol_, deviceMode_);
    rotation_ = deviceRotation_;
    mode_ = deviceMode_ - 1;
}

void DeviceSetupModel::ApplyRotation(int rotation)
{
    rotation_ = rotation;
    if (ChangeSetting(protocol_, commands::SetRotation(static_cast<std::uint8_t>(rotation))).accepted())
        deviceRotation_ = rotation;
    else
        rotation_ = deviceRotation_;
}

void DeviceSetupModel::ApplyReverse(bool reversed)
{
    reverse_ = reversed;
    if (!ChangeSetting(protocol_, commands::SetReverse(reversed)).accepted())
        reverse_ = !reversed;
}

void DeviceSetupModel::ApplyTouchMode(int mode)
{
    mode_ = mode;
    if (ChangeSetting(protocol_, commands::SetTouchMode(static_cast<std::uint8_t>(mode + 1))).accepted())
        deviceMode_ = mode + 1;
    else
        mode_ = deviceMode_ - 1;
}

}  // namespace zorvane
