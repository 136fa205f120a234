#pragma once

// A scripted HID backend for the link tests: a list of interfaces, handles whose writes are
// answered by a test-supplied responder, and counters of what the channel did.

#include "link/HidBackend.h"
#include "link/ProcessList.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace zorvane::testing {

class FakeHandle : public HidHandle {
public:
    // Called for every accepted write; may Push replies.
    std::function<void(const Report&, FakeHandle&)> responder;
    std::atomic<bool> refuseWrites{false};
    std::atomic<int> writes{0};

    void Push(std::vector<std::uint8_t> bytes)
    {
        {
            std::lock_guard guard(lock_);
            queue_.push_back(std::move(bytes));
        }
        changed_.notify_all();
    }
    void Push(const Report& report) { Push(std::vector<std::uint8_t>(report.begin(), report.end())); }

    void Fail()
    {
        {
            std::lock_guard guard(lock_);
            failed_ = true;
        }
        changed_.notify_all();
    }

    bool closed() const
    {
        std::lock_guard guard(lock_);
        return closed_;
    }

    bool Write(const Report& report, std::chrono::milliseconds) override
    {
        if (refuseWrites || closed())
            return false;
        ++writes;
        if (responder)
            responder(report, *this);
        return true;
    }

    ReadResult Read(Report& into, std::optional<std::chrono::milliseconds> timeout) override
    {
        std::unique_lock lock(lock_);
        const auto ready = [this] { return closed_ || failed_ || !queue_.empty(); };
        if (timeout)
            changed_.wait_for(lock, *timeout, ready);
        else
            changed_.wait(lock, ready);
        if (closed_)
            return {ReadOutcome::Woken, 0};
        if (failed_)
            return {ReadOutcome::Failed, 0};
        if (queue_.empty())
            return {ReadOutcome::TimedOut, 0};
        const std::vector<std::uint8_t> bytes = std::move(queue_.front());
        queue_.pop_front();
        std::copy(bytes.begin(), bytes.begin() + std::min(bytes.size(), into.size()), into.begin());
        return {ReadOutcome::Data, std::min(bytes.size(), into.size())};
    }

    void Close() override
    {
        {
            std::lock_guard guard(lock_);
            closed_ = true;
        }
        changed_.notify_all();
    }

    void AwaitClose() override
    {
        std::unique_lock lock(lock_);
        changed_.wait(lock, [this] { return closed_; });
    }

private:
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::vector<std::uint8_t>> queue_;
    bool closed_ = false;
    bool failed_ = false;
};

struct FakeInterface {
    std::string path;
    HidAttributes attributes;
    bool openable = true;
    bool accessDenied = false;  // why it cannot be opened: this user may not
};

class FakeHid : public HidBackend {
public:
    explicit FakeHid(std::vector<FakeInterface> interfaces = {}) : interfaces_(std::move(interfaces)) {}

    std::function<void(const Report&, FakeHandle&)> responder;
    std::atomic<int> scans{0};

    // What the machine has from now on.
    void SetInterfaces(std::vector<FakeInterface> interfaces)
    {
        std::lock_guard guard(lock_);
        interfaces_ = std::move(interfaces);
    }

    std::vector<std::string> ListInterfaces() override
    {
        ++scans;
        std::lock_guard guard(lock_);
        std::vector<std::string> paths;
        for (const auto& i : interfaces_)
            paths.push_back(i.path);
        return paths;
    }

    std::optional<HidAttributes> GetAttributes(const std::string& path) override
    {
        std::lock_guard guard(lock_);
        for (const auto& i : interfaces_)
            if (i.path == path)
                return i.attributes;
        return std::nullopt;
    }

    OpenResult Open(const std::string& path) override
    {
        std::lock_guard guard(lock_);
        opened_.push_back(path);
        for (const auto& i : interfaces_) {
            if (i.path != path)
                continue;
            if (!i.openable)
                return {nullptr, i.accessDenied};
            auto handle = std::make_shared<FakeHandle>();
            handle->responder = responder;
            handles_.push_back(handle);
            return {std::move(handle)};
        }
        return {};
    }

    std::vector<std::string> opened() const
    {
        std::lock_guard guard(lock_);
        return opened_;
    }

    std::shared_ptr<FakeHandle> lastHandle() const
    {
        std::lock_guard guard(lock_);
        return handles_.empty() ? nullptr : handles_.back();
    }

private:
    std::vector<FakeInterface> interfaces_;
    mutable std::mutex lock_;
    std::vector<std::string> opened_;
    std::vector<std::shared_ptr<FakeHandle>> handles_;
};

class FakeProcessList : public ProcessList {
public:
    std::atomic<bool> running{false};
    std::optional<bool> IsRunning(const std::string&) override { return running.load(); }
};

// Answers every request with the conventional reply: same command, sub-command + 0x80.
inline void EchoReply(const Report& request, FakeHandle& handle)
{
    Report reply{};
    reply[0] = request[0];
    reply[1] = request[1];
    reply[2] = static_cast<std::uint8_t>(request[2] + 0x80);
    handle.Push(reply);
}

}  // namespace zorvane::testing
