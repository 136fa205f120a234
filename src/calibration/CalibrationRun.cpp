#include "calibration/CalibrationRun.h"

#include "calibration/NinePointTargets.h"
#include "protocol/CalibrationCommands.h"
#include "protocol/SendCommand.h"
#include "protocol/SettingsCommands.h"

namespace zorvane {
namespace {

LinkStatus ReadRecord(DeviceProtocol& protocol, TwoPointCalibration& record)
{
    return ReadTwoPointRecord(protocol, record);
}
LinkStatus ReadRecord(DeviceProtocol& protocol, NinePointCalibration& record)
{
    return ReadNinePointRecord(protocol, record);
}
LinkStatus WriteRecord(DeviceProtocol& protocol, const TwoPointCalibration& record)
{
    return WriteTwoPointRecord(protocol, record);
}
LinkStatus WriteRecord(DeviceProtocol& protocol, const NinePointCalibration& record)
{
    return WriteNinePointRecord(protocol, record);
}
LinkStatus StoreRecord(DeviceProtocol& protocol, const TwoPointCalibration& record)
{
    return StoreTwoPointRecord(protocol, record);
}
LinkStatus StoreRecord(DeviceProtocol& protocol, const NinePointCalibration& record)
{
    return StoreNinePointRecord(protocol, record);
}

// Which touch mode and what the frame does on its own around a target screen: `closing` 0 while a
// screen is open, 1 once it closed.
void SendScreenSettings(DeviceProtocol& protocol, std::int32_t touchMode, std::uint8_t closing)
{
    SendCommand(protocol, commands::SetTouchMode(static_cast<std::uint8_t>(touchMode)));
    SendCommand(protocol, commands::Command04(closing));
    SendCommand(protocol, commands::CommandA212(closing));
}

}  // namespace

template <typename Session>
LinkStatus CalibrationRun<Session>::Begin(DeviceProtocol& protocol)
{
    BackToFirstTarget();
    session.touch.Release();  // a touch held when the screen last closed is gone
    if (const LinkStatus status = ReadRecord(protocol, session.record))
        return status;
    QueryRotation(protocol, session.orientation.rotation);
    QueryReverse(protocol, session.orientation.reversed);
    std::int32_t touchMode = savedTouchMode_;
    if (QueryTouchMode(protocol, touchMode) == link_status::kOk && !calibrationSettingsSent_)
        savedTouchMode_ = touchMode;
    SendScreenSettings(protocol, touch_mode::kMouse, 0);
    calibrationSettingsSent_ = true;
    session.changed = false;
    return link_status::kOk;
}

template <>
TickOutcome CalibrationRun<TwoPointSession>::Tick(ScreenSize screen)
{
    return TwoPointTick(session, nearMissCount_, screen);
}

template <>
TickOutcome CalibrationRun<NinePointSession>::Tick(ScreenSize screen)
{
    return NinePointTick(session, nearMissCount_, NinePointLayout(screen));
}

template <typename Session>
LinkStatus CalibrationRun<Session>::WriteCorrection(DeviceProtocol& protocol)
{
    return WriteRecord(protocol, session.record);
}

template <typename Session>
void CalibrationRun<Session>::End(DeviceProtocol& protocol, int answer)
{
    if (answer == save_answer::kYes)
        StoreRecord(protocol, session.record);
    else if (answer == save_answer::kNo)
        Reset(protocol);
    SendScreenSettings(protocol, savedTouchMode_, 1);
    calibrationSettingsSent_ = false;
}

template <typename Session>
void CalibrationRun<Session>::Reset(DeviceProtocol& protocol)
{
    SendCommand(protocol, commands::ResetCalibration());
    ReadRecord(protocol, session.record);
}

template class CalibrationRun<TwoPointSession>;
template class CalibrationRun<NinePointSession>;

}  // namespace zorvane
