#include "DeviceProtocol.h"

namespace zorvane {

DeviceInfo DeviceProtocol::info() const
{
    std::lock_guard guard(infoLock_);
    return info_;
}

void DeviceProtocol::setInfo(const DeviceInfo& info)
{
    std::lock_guard guard(infoLock_);
    CopyDeviceInfo(info_, info);
}

LinkStatus DeviceProtocol::Exchange(const Command& command, Report& reply)
{
    reply.fill(0);
    if (heldBack())
        return link_status::kBusy;
    return channel.load()->Transact(command.timeoutMs, command.request, reply);
}

DeviceProtocol& GetDeviceProtocol()
{
    static DeviceProtocol protocol;
    return protocol;
}

void SelectNormalDevice(DeviceProtocol& protocol)
{
    DeviceChannel& channel = GetDeviceChannel();
    protocol.channel = &channel;
    if (!protocol.heldBack())
        channel.ApplyFilter(NormalFirmwareFilter());
}

void CloseNormalDevice(DeviceProtocol& protocol)
{
    SelectNormalDevice(protocol);
    if (!protocol.heldBack())
        protocol.channel.load()->CloseDeviceHandle();
}

LinkStatus QueryDeviceInfo(DeviceProtocol& protocol, DeviceInfo& info)
{
    SelectNormalDevice(protocol);
    Report reply;

    if (const LinkStatus status = protocol.Exchange(commands::GetDeviceIdentity(), reply))
        return status;
    if (reply[2] != 0x80)
        return link_status::kBadIdentity;
    DecodeIdentity(reply, info);

    if (const LinkStatus status = protocol.Exchange(commands::GetModelName(), reply))
        return status;
    DecodeModelName(reply, info);

    if (const LinkStatus status = protocol.Exchange(commands::GetFrameLayout(), reply))
        return status;
    DecodeLayout(reply, info);
    // Holds the path only when this query opened the interface; the filter was just reset.
    info.interfacePath = protocol.channel.load()->filter().devicePath;

    if (const LinkStatus status = protocol.Exchange(commands::GetAxisParameters(), reply))
        return status;
    DecodeAxisParameters(reply, info);

    protocol.setInfo(info);
    return link_status::kOk;
}

}  // namespace zorvane
