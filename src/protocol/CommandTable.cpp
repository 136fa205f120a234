#include "CommandTable.h"

#include <algorithm>

namespace zorvane::commands {
namespace {

Command Make(std::uint8_t header, std::uint8_t command, std::uint8_t subCommand, std::uint8_t qualifier = 0,
             int timeoutMs = kOrdinaryTimeoutMs)
{
    Command c;
    c.request[0] = header;
    c.request[1] = command;
    c.request[2] = subCommand;
    c.request[3] = qualifier;
    c.timeoutMs = timeoutMs;
    return c;
}

Command Normal(std::uint8_t command, std::uint8_t subCommand, std::uint8_t qualifier = 0,
               int timeoutMs = kOrdinaryTimeoutMs)
{
    return Make(kNormalHeader, command, subCommand, qualifier, timeoutMs);
}

Command WithParameter(Command c, std::uint8_t parameter)
{
    c.request[5] = parameter;
    return c;
}

// Calibration coordinates are the one big-endian field of the protocol.
template <std::size_t N>
Command WithBigEndianValues(Command c, const std::array<std::uint16_t, N>& values)
{
    for (std::size_t i = 0; i < N; ++i) {
        c.request[6 + 2 * i] = static_cast<std::uint8_t>(values[i] >> 8);
        c.request[7 + 2 * i] = static_cast<std::uint8_t>(values[i]);
    }
    return c;
}

constexpr std::uint8_t kTwoPoint = static_cast<std::uint8_t>(CalibrationKind::TwoPoint);
constexpr std::uint8_t kNinePoint = static_cast<std::uint8_t>(CalibrationKind::NinePoint);

}  // namespace

Command GetDeviceIdentity() { return Normal(command_code::kIdentity, 0x00); }
Command GetModelName() { return Normal(command_code::kIdentity, 0x01); }
Command GetFrameLayout() { return Normal(command_code::kLayout, 0x00); }
Command GetAxisParameters() { return Normal(command_code::kAxisAndPower, 0x10); }

Command ReadSignalChunk(std::uint8_t selector, std::uint16_t firstIndex, std::uint16_t count)
{
    Command c = WithParameter(Normal(command_code::kLayout, 0x01, 0, 2000), selector);
    c.request[6] = static_cast<std::uint8_t>(firstIndex);
    c.request[7] = static_cast<std::uint8_t>(firstIndex >> 8);
    c.request[8] = static_cast<std::uint8_t>(count);
    c.request[9] = static_cast<std::uint8_t>(count >> 8);
    return c;
}

Command ReadTwoPointCalibration() { return Normal(command_code::kCalibration, 0x03, kTwoPoint); }
Command ReadNinePointCalibration() { return Normal(command_code::kCalibration, 0x03, kNinePoint); }

Command WriteTwoPointCalibration(const std::array<std::uint16_t, kTwoPointValues>& corners)
{
    return WithBigEndianValues(Normal(command_code::kCalibration, 0x01, kTwoPoint), corners);
}

Command WriteNinePointCalibration(const std::array<std::uint16_t, kNinePointValues>& points)
{
    return WithBigEndianValues(Normal(command_code::kCalibration, 0x01, kNinePoint), points);
}

Command CommitTwoPointCalibration() { return Normal(command_code::kCalibration, 0x02, kTwoPoint); }
Command CommitNinePointCalibration() { return Normal(command_code::kCalibration, 0x02, kNinePoint); }
Command ResetCalibration() { return Normal(command_code::kCalibration, 0x04); }
Command GetCalibrationKind() { return Normal(command_code::kCalibration, 0x05); }

Command SetCalibrationKind(CalibrationKind kind)
{
    return WithParameter(Normal(command_code::kCalibration, 0x06), static_cast<std::uint8_t>(kind));
}

Command GetRotation() { return Normal(command_code::kOrientation, 0x02); }
Command SetRotation(std::uint8_t rotationIndex)
{
    return WithParameter(Normal(command_code::kOrientation, 0x00, 0x02), rotationIndex);
}
Command GetReverse() { return Normal(command_code::kOrientation, 0x04); }
Command SetReverse(std::uint8_t reversed) { return WithParameter(Normal(command_code::kOrientation, 0x05), reversed); }
Command GetTouchMode() { return Normal(command_code::kTouchMode, 0x04); }
Command SetTouchMode(std::uint8_t mode) { return WithParameter(Normal(command_code::kTouchMode, 0x00), mode); }
Command SetLed(std::uint8_t on) { return WithParameter(Normal(command_code::kAxisAndPower, 0x08), on); }
Command Initialise() { return Normal(command_code::kMaintenance, 0x09, 0, 8000); }
Command CommandA212(std::uint8_t closing) { return WithParameter(Normal(command_code::kMaintenance, 0x12), closing); }
Command Command04(std::uint8_t closing) { return Normal(command_code::kTouchControl, closing); }
Command EnterBootloader() { return WithParameter(Normal(command_code::kAxisAndPower, 0x00), 1); }

Command BootloaderProbe() { return Make(kBootloaderHeader, command_code::kBootloader, 0x00, 0, 1000); }

Command BootloaderBegin(std::span<const std::uint8_t> image)
{
    Command c = Make(kBootloaderHeader, command_code::kBootloader, 0x01, 0, 10000);
    const auto at = [&](std::size_t offset) { return offset < image.size() ? image[offset] : std::uint8_t{0}; };
    c.request[5] = at(0x45);
    for (std::size_t i = 0; i < 3; ++i)
        c.request[6 + i] = at(0x42 + i);
    for (std::size_t i = 0; i < 20; ++i)
        c.request[9 + i] = at(0x46 + i);
    return c;
}

Command BootloaderData(std::size_t packetIndex, std::span<const std::uint8_t, kBootloaderPacket> payload)
{
    Command c = Make(kBootloaderHeader, command_code::kBootloader, 0x02);
    c.request[5] = static_cast<std::uint8_t>(packetIndex & 0xFF);
    c.request[6] = static_cast<std::uint8_t>(kBootloaderPacket);
    std::copy(payload.begin(), payload.end(), c.request.begin() + 8);
    return c;
}

Command BootloaderFinish() { return Make(kBootloaderHeader, command_code::kBootloader, 0x03, 0, 2000); }

}  // namespace zorvane::commands
