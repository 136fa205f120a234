#include "platform/linux/HidrawHandle.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>
#include <type_traits>
#include <vector>

namespace zorvane {
namespace {

using namespace std::chrono_literals;

// Long enough for anything that is going to happen; only a broken handle waits this long.
constexpr auto kGenerous = 5s;

Report NumberedReport(std::uint8_t first)
{
    Report report{};
    for (std::size_t i = 0; i < report.size(); ++i)
        report[i] = static_cast<std::uint8_t>(first + i);
    return report;
}

// Runs `call` in a thread of its own. The thread is detached, so that a call a broken handle never
// ends fails its test instead of hanging the suite.
template <typename Call>
std::future<std::invoke_result_t<Call>> InBackground(Call call)
{
    std::packaged_task<std::invoke_result_t<Call>()> task(std::move(call));
    auto result = task.get_future();
    std::thread(std::move(task)).detach();
    return result;
}

// The handle over one end of a SOCK_SEQPACKET pair, which keeps report boundaries like a hidraw
// node; the test plays the device on the other end.
class HidrawHandleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        int fds[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds), 0);
        handle_ = HidrawHandle::Adopt(fds[0]);
        device_ = fds[1];
        ASSERT_NE(handle_, nullptr);
    }
    void TearDown() override { HangUp(); }

    void Send(const std::uint8_t* bytes, std::size_t length)
    {
        ASSERT_EQ(send(device_, bytes, length, MSG_NOSIGNAL), static_cast<ssize_t>(length));
    }

    // One report the handle wrote, or an empty vector when none arrives in time.
    std::vector<std::uint8_t> Receive()
    {
        pollfd readable{device_, POLLIN, 0};
        if (poll(&readable, 1, static_cast<int>(std::chrono::milliseconds(kGenerous).count())) != 1)
            return {};
        std::vector<std::uint8_t> bytes(2 * kReportSize);
        const ssize_t length = recv(device_, bytes.data(), bytes.size(), 0);
        bytes.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        return bytes;
    }

    // Whether the device end sees its peer gone, i.e. the handle's descriptor closed.
    bool DeviceSeesHangUp(std::chrono::milliseconds wait) const
    {
        pollfd hangUp{device_, POLLRDHUP, 0};
        return poll(&hangUp, 1, static_cast<int>(wait.count())) == 1 && (hangUp.revents & (POLLRDHUP | POLLHUP));
    }

    void HangUp()
    {
        if (device_ >= 0)
            close(device_);
        device_ = -1;
    }

    std::shared_ptr<HidrawHandle> handle_;
    int device_ = -1;
};

TEST_F(HidrawHandleTest, ReadsAWholeReport)
{
    const Report sent = NumberedReport(0xFD);
    Send(sent.data(), sent.size());

    Report received{};
    const ReadResult result = handle_->Read(received, kGenerous);
    EXPECT_EQ(result.outcome, ReadOutcome::Data);
    EXPECT_EQ(result.length, kReportSize);
    EXPECT_EQ(received, sent);
}

TEST_F(HidrawHandleTest, ShortReportComesWithItsLength)
{
    const Report sent = NumberedReport(1);
    Send(sent.data(), 10);

    Report received{};
    const ReadResult result = handle_->Read(received, kGenerous);
    EXPECT_EQ(result.outcome, ReadOutcome::Data);
    EXPECT_EQ(result.length, 10u);
}

TEST_F(HidrawHandleTest, ReadTimesOutWhenNothingArrives)
{
    Report received{};
    EXPECT_EQ(handle_->Read(received, 20ms).outcome, ReadOutcome::TimedOut);
    EXPECT_EQ(handle_->Read(received, 0ms).outcome, ReadOutcome::TimedOut);
}

TEST_F(HidrawHandleTest, WritesExactlyOneReport)
{
    const Report sent = NumberedReport(0xFB);
    ASSERT_TRUE(handle_->Write(sent, kGenerous));
    EXPECT_EQ(Receive(), std::vector<std::uint8_t>(sent.begin(), sent.end()));
}

TEST_F(HidrawHandleTest, WriteWaitsUntilTheDeviceTakesReportsAgain)
{
    const Report report = NumberedReport(0);
    int queued = 0;
    while (handle_->Write(report, 0ms))
        ASSERT_LT(++queued, 100000) << "the socket never filled";
    EXPECT_FALSE(handle_->Write(report, 20ms));

    std::thread device([this] {
        std::this_thread::sleep_for(50ms);
        std::uint8_t bytes[kReportSize];
        while (recv(device_, bytes, sizeof bytes, 0) > 0) {
        }
    });
    EXPECT_TRUE(handle_->Write(report, kGenerous));
    device.join();
}

TEST_F(HidrawHandleTest, DeviceHangUpFailsReadAndWrite)
{
    HangUp();

    Report received{};
    EXPECT_EQ(handle_->Read(received, kGenerous).outcome, ReadOutcome::Failed);
    EXPECT_FALSE(handle_->Write(NumberedReport(0), kGenerous));
}

TEST_F(HidrawHandleTest, ClosedHandleWakesEveryLaterCall)
{
    const Report pending = NumberedReport(0);
    Send(pending.data(), pending.size());
    handle_->Close();
    handle_->Close();

    Report received{};
    EXPECT_EQ(handle_->Read(received, kGenerous).outcome, ReadOutcome::Woken);
    EXPECT_EQ(handle_->Read(received, kGenerous).outcome, ReadOutcome::Woken);
    EXPECT_FALSE(handle_->Write(pending, kGenerous));
}

TEST_F(HidrawHandleTest, CloseWakesAReadBlockedInAnotherThread)
{
    auto pending = InBackground([handle = handle_] {
        Report received{};
        return handle->Read(received, std::nullopt);
    });
    EXPECT_EQ(pending.wait_for(50ms), std::future_status::timeout) << "the read ended with nothing to read";

    handle_->Close();
    ASSERT_EQ(pending.wait_for(kGenerous), std::future_status::ready);
    EXPECT_EQ(pending.get().outcome, ReadOutcome::Woken);
}

TEST_F(HidrawHandleTest, AwaitCloseReturnsOnceClosed)
{
    auto waiter = InBackground([handle = handle_] { handle->AwaitClose(); });
    EXPECT_EQ(waiter.wait_for(50ms), std::future_status::timeout);

    handle_->Close();
    EXPECT_EQ(waiter.wait_for(kGenerous), std::future_status::ready);
    auto late = InBackground([handle = handle_] { handle->AwaitClose(); });
    EXPECT_EQ(late.wait_for(kGenerous), std::future_status::ready) << "a closed handle must not make anyone wait";
}

// The descriptor outlives Close() while a reader still holds the handle, and goes with the last owner.
TEST_F(HidrawHandleTest, DescriptorIsReleasedByTheLastOwnerNotByClose)
{
    std::weak_ptr<HidrawHandle> watch = handle_;
    auto pending = InBackground([owner = handle_]() mutable {
        const auto handle = std::move(owner);  // dropped as the read ends, in this thread
        Report received{};
        return handle->Read(received, std::nullopt);
    });
    handle_->Close();
    EXPECT_FALSE(DeviceSeesHangUp(0ms));
    handle_.reset();

    ASSERT_EQ(pending.wait_for(kGenerous), std::future_status::ready);
    EXPECT_EQ(pending.get().outcome, ReadOutcome::Woken);
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(DeviceSeesHangUp(kGenerous));
}

}  // namespace
}  // namespace zorvane
