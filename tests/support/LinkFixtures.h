#pragma once

// The process-wide channel on a frame for the command-layer tests: a scripted one where exact reply
// bytes matter, the simulated one for round trips. Every test runs in a process of its own, so the
// channel and the protocol start fresh.

#include "FakeHid.h"
#include "link/DeviceChannel.h"
#include "sim/SimulatedHidBackend.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace zorvane::testing {

// A clock 4 s further on at every scan, so that the rescan throttle never holds a test up after a failure.
inline LinkPlatform PlatformWithoutThrottle(std::shared_ptr<HidBackend> hid)
{
    auto later = [elapsed = std::chrono::steady_clock::duration{}]() mutable {
        return std::chrono::steady_clock::time_point(elapsed += std::chrono::seconds(4));
    };
    return LinkPlatform{std::move(hid), std::make_shared<FakeProcessList>(), "zorvane", later};
}

// The conventional reply: same command, sub-command + 0x80.
inline Report ReplyTo(const Report& request)
{
    Report reply{};
    reply[0] = request[0];
    reply[1] = request[1];
    reply[2] = static_cast<std::uint8_t>(request[2] + 0x80);
    return reply;
}

inline std::vector<int> Bytes(const Report& report, std::size_t from, std::size_t count)
{
    const auto start = report.begin() + static_cast<std::ptrdiff_t>(from);
    return {start, start + static_cast<std::ptrdiff_t>(count)};
}

// A frame whose every answer comes from `script`: a reply, or nothing (the request times out).
class ScriptedLink : public ::testing::Test {
protected:
    using Script = std::function<std::optional<Report>(const Report& request)>;

    void SetUp() override
    {
        hid->responder = [this](const Report& request, FakeHandle& handle) {
            {
                std::lock_guard guard(lock_);
                requests_.push_back(request);
            }
            // Runs on the thread of the transaction, the test's own.
            if (const std::optional<Report> reply = script(request))
                handle.Push(*reply);
        };
        SetLinkPlatformFactory([this] { return PlatformWithoutThrottle(hid); });
    }

    // The requests that reached the frame, a retried one twice.
    std::vector<Report> Requests() const
    {
        std::lock_guard guard(lock_);
        return requests_;
    }

    // Only the heads (bytes 0..3) of the requests, which name the commands.
    std::vector<std::vector<int>> Heads() const
    {
        std::vector<std::vector<int>> heads;
        for (const Report& request : Requests())
            heads.push_back(Bytes(request, 0, 4));
        return heads;
    }

    void ClearRequests()
    {
        std::lock_guard guard(lock_);
        requests_.clear();
    }

    Script script = [](const Report& request) { return std::optional(ReplyTo(request)); };
    std::shared_ptr<FakeHid> hid =
        std::make_shared<FakeHid>(std::vector<FakeInterface>{{"/dev/hidraw3&col03", {0x1101, 0x0002, 0x0100}}});

private:
    mutable std::mutex lock_;
    std::vector<Report> requests_;
};

// The simulated frame answering at once: round trips by the thousand (closed loops, chart cycles)
// stay quick. A test about timing sets the latency it needs.
class SimulatedLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend->SetReplyLatency(std::chrono::milliseconds::zero());
        SetLinkPlatformFactory([this] { return PlatformWithoutThrottle(backend); });
    }

    FrameState State() const { return backend->frame().state(); }

    // The frame's rotation index, reverse flag and touch mode, as the frame itself would hold them.
    void SetSettings(std::uint8_t rotation, std::uint8_t reversed, std::uint8_t touchMode)
    {
        FrameState state = State();
        state.settings.rotation = rotation;
        state.settings.reversed = reversed;
        state.settings.touchMode = touchMode;
        backend->frame().SetState(state);
    }

    std::shared_ptr<SimulatedHidBackend> backend = std::make_shared<SimulatedHidBackend>();
};

}  // namespace zorvane::testing
