#pragma once

#include <functional>
#include <string>

namespace zorvane {

// The system's word that an HID interface came or went, one notice per interface path (a node with
// several top-level collections gives one notice per `&colNN` path).
struct DeviceNotice {
    enum class Kind { Arrival, Removal };

    Kind kind = Kind::Arrival;
    std::string interfacePath;

    bool operator==(const DeviceNotice&) const = default;
};

// Where device notices come from: the platform's hot-plug monitor, or a simulated machine.
class DeviceNoticeSource {
public:
    using Handler = std::function<void(const DeviceNotice&)>;

    virtual ~DeviceNoticeSource() = default;

    // Every later notice goes to `handler`, on whichever thread the source notices the change; an empty
    // handler stops the delivery. Once this returns, the previous handler is never called again.
    virtual void SetHandler(Handler handler) = 0;
};

}  // namespace zorvane
