#include "CalibrationCommands.h"

#include "SendCommand.h"

#include <algorithm>
#include <functional>
#include <string>

namespace zorvane {
namespace {

std::int32_t Be16(const Report& reply, std::size_t at) { return reply[at] << 8 | reply[at + 1]; }

std::uint16_t Low16(std::int32_t value) { return static_cast<std::uint16_t>(value); }

CalibrationDeviceId ToDeviceId(const std::string& text)
{
    CalibrationDeviceId id{};
    // The longest text, "65535-65535", leaves room for the terminating NUL.
    std::copy_n(text.begin(), std::min(text.size(), id.size() - 1), id.begin());
    return id;
}

// The record request, then the size request in the same buffer with only bytes 0..2 rewritten: the
// frame sees the record kind in byte 3 of both.
LinkStatus ReadRecord(DeviceProtocol& protocol, Command request, const std::function<void(const Report&)>& decode,
                      CalibrationDeviceId& deviceId)
{
    Report reply;
    if (const LinkStatus status = SendCommand(protocol, request, reply))
        return status;
    decode(reply);

    const Command layout = commands::GetFrameLayout();
    std::copy_n(layout.request.begin(), 3, request.request.begin());
    request.timeoutMs = layout.timeoutMs;
    if (const LinkStatus status = protocol.Exchange(request, reply))
        return status;
    deviceId = ToDeviceId(LayoutDeviceId(reply));
    return link_status::kOk;
}

LinkStatus WriteAndCommit(DeviceProtocol& protocol, const Command& write, const Command& commit)
{
    if (const LinkStatus status = SendCommand(protocol, write))
        return status;
    Report reply;
    return protocol.Exchange(commit, reply);
}

// The two-point record goes out as its four corners: (left, top), (right, top), (right, bottom), (left, bottom).
Command WriteTwoPoint(const TwoPointCalibration& r)
{
    return commands::WriteTwoPointCalibration({Low16(r.left), Low16(r.top), Low16(r.right), Low16(r.top),
                                               Low16(r.right), Low16(r.bottom), Low16(r.left), Low16(r.bottom)});
}

Command WriteNinePoint(const NinePointCalibration& r)
{
    std::array<std::uint16_t, kNinePointValues> points{};
    std::transform(r.values.begin(), r.values.end(), points.begin(), Low16);
    return commands::WriteNinePointCalibration(points);
}

}  // namespace

LinkStatus ReadTwoPointRecord(DeviceProtocol& protocol, TwoPointCalibration& record)
{
    // The reply repeats the corners as they were written; the first and the third carry all four edges.
    const auto decode = [&record](const Report& reply) {
        record.left = Be16(reply, 6);
        record.top = Be16(reply, 8);
        record.right = Be16(reply, 14);
        record.bottom = Be16(reply, 16);
    };
    return ReadRecord(protocol, commands::ReadTwoPointCalibration(), decode, record.deviceId);
}

LinkStatus ReadNinePointRecord(DeviceProtocol& protocol, NinePointCalibration& record)
{
    const auto decode = [&record](const Report& reply) {
        for (std::size_t i = 0; i < record.values.size(); ++i)
            record.values[i] = Be16(reply, 6 + 2 * i);
    };
    return ReadRecord(protocol, commands::ReadNinePointCalibration(), decode, record.deviceId);
}

LinkStatus WriteTwoPointRecord(DeviceProtocol& protocol, const TwoPointCalibration& record)
{
    return SendCommand(protocol, WriteTwoPoint(record));
}

LinkStatus WriteNinePointRecord(DeviceProtocol& protocol, const NinePointCalibration& record)
{
    return SendCommand(protocol, WriteNinePoint(record));
}

LinkStatus StoreTwoPointRecord(DeviceProtocol& protocol, const TwoPointCalibration& record)
{
    return WriteAndCommit(protocol, WriteTwoPoint(record), commands::CommitTwoPointCalibration());
}

LinkStatus StoreNinePointRecord(DeviceProtocol& protocol, const NinePointCalibration& record)
{
    return WriteAndCommit(protocol, WriteNinePoint(record), commands::CommitNinePointCalibration());
}

LinkStatus QueryCalibrationKind(DeviceProtocol& protocol, std::int32_t& kind)
{
    Report reply;
    const LinkStatus status = SendCommand(protocol, commands::GetCalibrationKind(), reply);
    kind = reply[5];
    return status;
}

}  // namespace zorvane
