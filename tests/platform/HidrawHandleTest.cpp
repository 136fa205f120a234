#include "platform/linux/HidrawHandle.h"

#include "BlockingWrite.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace zorvane {
namespace {

using namespace std::chrono_literals;
using testing::InBackground;
using testing::kGenerous;
using testing::kLongerThanTheTest;
using testing::WriteLatch;

Report NumberedReport(std::uint8_t first)
{
    Report report{};
    for (std::size_t i = 0; i < report.size(); ++i)
        report[i] = static_cast<std::uint8_t>(first + i);
    return report;
}

std::vector<std::uint8_t> Bytes(const Report& report) { return {report.begin(), report.end()}; }

// The handle over one end of a SOCK_SEQPACKET pair, which keeps report boundaries like a hidraw
// node; the test plays the device on the other end.
class HidrawHandleTest : public ::testing::Test {
protected:
    void SetUp() override { Connect(SystemWrite); }

    void Connect(WriteCall write)
    {
        int fds[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds), 0);
        handle_ = HidrawHandle::Adopt(fds[0], std::move(write));
        handleEnd_ = fds[0];
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

    bool DeviceHoldsMore() const
    {
        pollfd readable{device_, POLLIN, 0};
        return poll(&readable, 1, 0) == 1 && (readable.revents & POLLIN);
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
    int handleEnd_ = -1;  // the handle's descriptor, owned by the handle
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
    // Filled on the handle's own descriptor: a write hands its report to another thread, so a write
    // refused for want of time is not a sign that the socket is full.
    const Report report = NumberedReport(0);
    int queued = 0;
    while (send(handleEnd_, report.data(), report.size(), MSG_DONTWAIT | MSG_NOSIGNAL) > 0)
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

// The handle over a stand-in whose writes stay in the kernel until the test lets them go, as hidraw
// writes do while the frame takes no reports, although poll() says writable.
class StuckHidrawHandleTest : public HidrawHandleTest {
protected:
    void SetUp() override { Connect(latch_->Call()); }
    void TearDown() override
    {
        latch_->Open();
        HidrawHandleTest::TearDown();
    }

    // The handle's Write on a thread of its own, so that one held up by the stuck write fails the test
    // instead of hanging it: nothing when it has not returned in generous time.
    std::optional<bool> WriteAside(const Report& report, std::chrono::milliseconds timeout)
    {
        auto written = InBackground([handle = handle_, report, timeout] { return handle->Write(report, timeout); });
        if (written.wait_for(kGenerous) != std::future_status::ready)
            return std::nullopt;
        return written.get();
    }

    const std::shared_ptr<WriteLatch> latch_ = std::make_shared<WriteLatch>();
};

TEST_F(StuckHidrawHandleTest, WritesGiveUpInTimeAndEachTakesOnlyItsOwnResult)
{
    const Report late = NumberedReport(0x10);
    const Report refused = NumberedReport(0x20);
    const Report own = NumberedReport(0x30);

    EXPECT_EQ(WriteAside(late, 20ms), false);
    ASSERT_TRUE(latch_->AwaitEntered(1));
    EXPECT_EQ(WriteAside(refused, 20ms), false) << "did not give up on the stuck writer";

    auto next = InBackground([handle = handle_, own] { return handle->Write(own, kLongerThanTheTest); });
    EXPECT_EQ(next.wait_for(50ms), std::future_status::timeout) << "did not wait for the stuck write";
    latch_->Allow(1);
    EXPECT_EQ(Receive(), Bytes(late));
    ASSERT_TRUE(latch_->AwaitEntered(2));
    EXPECT_EQ(next.wait_for(0ms), std::future_status::timeout) << "took the late write's completion for its own";

    latch_->Allow(1);
    ASSERT_EQ(next.wait_for(kGenerous), std::future_status::ready);
    EXPECT_TRUE(next.get());
    EXPECT_EQ(Receive(), Bytes(own));
    EXPECT_FALSE(DeviceHoldsMore()) << "a write that gave up waiting for the writer went out after all";
}

TEST_F(StuckHidrawHandleTest, CloseReturnsWaitingWritesAndTheDescriptorOutlivesTheStuckWrite)
{
    const auto writeInBackground = [this](const Report& report) {
        return InBackground([owner = handle_, report]() mutable {
            const auto handle = std::move(owner);  // dropped as the write returns
            return handle->Write(report, kLongerThanTheTest);
        });
    };
    const Report stuck = NumberedReport(0x10);
    auto inKernel = writeInBackground(stuck);
    ASSERT_TRUE(latch_->AwaitEntered(1));
    auto waitingForWriter = writeInBackground(NumberedReport(0x20));
    EXPECT_EQ(waitingForWriter.wait_for(50ms), std::future_status::timeout);

    handle_->Close();
    for (auto* pending : {&inKernel, &waitingForWriter}) {
        ASSERT_EQ(pending->wait_for(kGenerous), std::future_status::ready) << "Close left a write waiting";
        EXPECT_FALSE(pending->get());
    }

    // The last owner lets go while the write is still in the kernel; that must not wait for it.
    const std::weak_ptr<HidrawHandle> watch = handle_;
    auto dropped = InBackground([owner = std::move(handle_)]() mutable { owner.reset(); });
    ASSERT_EQ(dropped.wait_for(kGenerous), std::future_status::ready) << "the last owner waited for the stuck write";
    EXPECT_TRUE(watch.expired());
    EXPECT_FALSE(DeviceSeesHangUp(0ms)) << "the descriptor was closed under a write still in the kernel";

    latch_->Allow(1);
    EXPECT_EQ(Receive(), Bytes(stuck));
    EXPECT_TRUE(DeviceSeesHangUp(kGenerous)) << "the descriptor outlived the stuck write";
}

}  // namespace
}  // namespace zorvane
